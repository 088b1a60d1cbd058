#include "assets/obj_parser.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace zelFramework {

namespace {

// The characters "%s", "%d" and "%f" pass over before a value.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads the text the way the exporter's reader did with one scanf call per value, but over the whole
// file in memory.
class ObjTokenizer {
public:
    ObjTokenizer(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}

    bool atEnd() const { return p_ >= end_; }
    size_t offset() const { return size_t(p_ - begin_); }

    std::string_view token() {
        skipBlanks();
        const char* start = p_;
        while (p_ < end_ && !isBlank(*p_)) ++p_;
        return {start, size_t(p_ - start)};
    }

    void skipOne() {
        if (p_ < end_) ++p_;
    }

    void skipLine() {
        const void* nl = std::memchr(p_, '\n', size_t(end_ - p_));
        p_ = nl ? static_cast<const char*>(nl) + 1 : end_;
    }

    // "%f": 0 when no number stands here (nothing but the blanks is consumed then).
    float readFloat() {
        skipBlanks();
        const char* start = p_;
        if (p_ < end_ && *p_ == '+') ++p_;  // from_chars does not take a plus sign
        float value = 0;
        auto [next, ec] = std::from_chars(p_, end_, value, std::chars_format::general);
        if (ec == std::errc::result_out_of_range) {
            // Keep what strtof makes of it (infinity or zero), as the exporter's reader did.
            std::string copy(start, next);
            value = std::strtof(copy.c_str(), nullptr);
        } else if (ec != std::errc()) {
            p_ = start;
            return 0;
        }
        p_ = next;
        return value;
    }

    // "%d": 0 when no number stands here or it does not fit an int (0 is refused as an index anyway).
    int readInt() {
        skipBlanks();
        const char* start = p_;
        if (p_ < end_ && *p_ == '+') ++p_;
        long long value = 0;
        auto [next, ec] = std::from_chars(p_, end_, value);
        if (ec == std::errc::invalid_argument) {
            p_ = start;
            return 0;
        }
        p_ = next;
        if (ec != std::errc() || value < INT_MIN || value > INT_MAX) return 0;
        return int(value);
    }

private:
    void skipBlanks() {
        while (p_ < end_ && isBlank(*p_)) ++p_;
    }

    const char* begin_;
    const char* p_;
    const char* end_;
};

struct ObjLists {
    std::vector<float> positions, normals, texCoords;
    std::vector<int> indices;           // 9 per face: p, t, n three times
    std::vector<size_t> faceOffsets;    // where each face starts, to name its line
};

void readLists(const char* text, size_t size, ObjLists& lists) {
    ObjTokenizer in(text, text + size);
    while (!in.atEnd()) {
        std::string_view t = in.token();
        if (t.empty()) break;
        if (t == "#" || t == "mtllib" || t == "o") {
            in.skipLine();
        } else if (t == "v" || t == "vn") {
            in.skipOne();
            auto& list = t == "v" ? lists.positions : lists.normals;
            for (int i = 0; i < 3; ++i) list.push_back(in.readFloat());
        } else if (t == "vt") {
            in.skipOne();
            for (int i = 0; i < 2; ++i) lists.texCoords.push_back(in.readFloat());
        } else if (t == "f") {
            lists.faceOffsets.push_back(in.offset());
            for (int i = 0; i < 9; ++i) {
                in.skipOne();
                lists.indices.push_back(in.readInt());
            }
            in.skipOne();
        }
    }
}

size_t lineAt(const char* text, size_t offset) {
    return size_t(1) + size_t(std::count(text, text + offset, '\n'));
}

bool indexFits(int index, size_t listSize) { return index >= 1 && size_t(index) <= listSize; }

bool expand(const ObjLists& lists, const char* text, ObjMesh& mesh, std::string* problem) {
    const size_t faces = lists.indices.size() / 9;
    const size_t positionCount = lists.positions.size() / 3;
    const size_t normalCount = lists.normals.size() / 3;
    const size_t texCount = lists.texCoords.size() / 2;
    const bool useTex = texCount > 0;
    for (size_t f = 0; f < faces; ++f) {
        const int* idx = &lists.indices[9 * f];
        for (int c = 0; c < 3; ++c) {
            const char* which = nullptr;
            int bad = 0;
            if (!indexFits(idx[3 * c], positionCount)) which = "position", bad = idx[3 * c];
            else if (useTex && !indexFits(idx[3 * c + 1], texCount)) which = "texture", bad = idx[3 * c + 1];
            else if (!indexFits(idx[3 * c + 2], normalCount)) which = "normal", bad = idx[3 * c + 2];
            if (which) {
                if (problem)
                    *problem = "line " + std::to_string(lineAt(text, lists.faceOffsets[f])) + ": " + which +
                               " index " + std::to_string(bad) + " outside 1.." +
                               std::to_string(which[0] == 'p' ? positionCount
                                              : which[0] == 't' ? texCount : normalCount);
                return false;
            }
        }
    }

    const size_t n = faces * 3;
    mesh.vertexCount = uint32_t(n);
    mesh.positions.resize(3 * n);
    mesh.normals.resize(3 * n);
    mesh.texCoords.assign(2 * n, 0.0f);
    for (size_t k = 0; k < n; ++k) {
        const int* idx = &lists.indices[3 * k];
        std::memcpy(&mesh.positions[3 * k], &lists.positions[3 * size_t(idx[0] - 1)], 3 * sizeof(float));
        if (useTex) std::memcpy(&mesh.texCoords[2 * k], &lists.texCoords[2 * size_t(idx[1] - 1)], 2 * sizeof(float));
        std::memcpy(&mesh.normals[3 * k], &lists.normals[3 * size_t(idx[2] - 1)], 3 * sizeof(float));
    }
    return true;
}

}  // namespace

bool parseObjText(const char* text, size_t size, ObjMesh& mesh, std::string* problem) {
    mesh = ObjMesh{};
    // Carriage returns are passed over as if absent; a copy without them keeps the reader simple.
    std::string withoutCR;
    if (size && std::memchr(text, '\r', size)) {
        withoutCR.reserve(size);
        std::remove_copy(text, text + size, std::back_inserter(withoutCR), '\r');
        text = withoutCR.data();
        size = withoutCR.size();
    }
    ObjLists lists;
    readLists(text, size, lists);
    if (!expand(lists, text, mesh, problem)) {
        mesh = ObjMesh{};
        return false;
    }
    return true;
}

}  // namespace zelFramework
