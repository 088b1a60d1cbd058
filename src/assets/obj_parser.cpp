#include "assets/obj_parser.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace zelFramework {

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Bytes that text never holds: control characters other than blanks and line ends.
inline bool isBinaryByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f') || c == 0x7F;
}

// An index as written after resolving a relative one: 1-based; NOT_GIVEN where the corner has none;
// WRITTEN_ZERO for an index written as 0, which no list has.
constexpr int32_t NOT_GIVEN = 0;
constexpr int32_t WRITTEN_ZERO = -1;

struct Corner {
    int32_t p = NOT_GIVEN, t = NOT_GIVEN, n = NOT_GIVEN;
};

struct Face {
    uint32_t firstCorner;
    uint32_t cornerCount;
    size_t line;
};

struct ObjLists {
    std::vector<float> positions, normals, texCoords;
    std::vector<Corner> corners;
    std::vector<Face> faces;
    uint64_t vertices = 0;  // after cutting every face into triangles
};

class Tokens {
public:
    explicit Tokens(std::string_view line) : rest_(line) {}
    // The next run of non-blank characters; empty at the end of the line.
    std::string_view next() {
        size_t i = 0;
        while (i < rest_.size() && isBlank(rest_[i])) ++i;
        size_t j = i;
        while (j < rest_.size() && !isBlank(rest_[j])) ++j;
        std::string_view token = rest_.substr(i, j - i);
        rest_.remove_prefix(j);
        return token;
    }

private:
    std::string_view rest_;
};

bool parseFloat(std::string_view token, float& out) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin < end && *begin == '+') ++begin;  // from_chars takes no plus sign
    auto [stop, ec] = std::from_chars(begin, end, out, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // What strtof makes of it: infinity, or zero for a value too small.
        out = std::strtof(std::string(token).c_str(), nullptr);
        ec = std::errc();
    }
    return ec == std::errc() && stop == end && begin < end;
}

bool parseInt(std::string_view token, int32_t& out) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin < end && *begin == '+') ++begin;
    long long value = 0;
    auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end || begin == end || value < INT_MIN || value > INT_MAX) return false;
    out = int32_t(value);
    return true;
}

class LineParser {
public:
    LineParser(ObjLists& lists, std::string& problem) : lists_(lists), problem_(problem) {}

    // False with the problem set when the line cannot be read.
    bool line(std::string_view text, size_t number) {
        line_ = number;
        const size_t hash = text.find('#');
        if (hash != std::string_view::npos) text = text.substr(0, hash);
        Tokens tokens(text);
        const std::string_view keyword = tokens.next();
        if (keyword == "v") return numbers(tokens, lists_.positions, 3, 3, "a position");
        if (keyword == "vn") return numbers(tokens, lists_.normals, 3, 3, "a normal");
        if (keyword == "vt") return numbers(tokens, lists_.texCoords, 2, 1, "a texture coordinate");
        if (keyword == "f") return face(tokens);
        return true;  // groups, objects, materials, smoothing, lines, points, curves: nothing to draw here
    }

private:
    bool fail(const std::string& why) {
        problem_ = "line " + std::to_string(line_) + ": " + why;
        return false;
    }

    // `wanted` numbers of which the first `needed` must be there; later ones (a w, colours) are read past.
    bool numbers(Tokens& tokens, std::vector<float>& list, int wanted, int needed, const char* what) {
        for (int i = 0; i < wanted; ++i) {
            const std::string_view token = tokens.next();
            float value = 0.0f;
            if (token.empty() && i >= needed) {
                list.push_back(0.0f);
                continue;
            }
            if (!parseFloat(token, value)) {
                if (token.empty())
                    return fail(std::string(what) + " needs " +
                                (needed == 1 ? std::string("a number") : std::to_string(needed) + " numbers"));
                return fail("\"" + std::string(token) + "\" is not a number");
            }
            list.push_back(value);
        }
        return true;
    }

    // A written index made absolute: negative ones count back from the last element defined so far.
    bool resolve(std::string_view token, size_t defined, const char* what, int32_t& out) {
        int32_t written = 0;
        if (!parseInt(token, written)) return false;
        if (written > 0) {
            out = written;
        } else if (written == 0) {
            out = WRITTEN_ZERO;
        } else {
            const int64_t absolute = int64_t(defined) + written + 1;
            if (absolute < 1) {
                fail(std::string(what) + " index " + std::to_string(written) + " reaches before the first of the " +
                     std::to_string(defined) + " defined so far");
                return false;
            }
            out = int32_t(absolute);
        }
        return true;
    }

    bool corner(std::string_view token, Corner& c) {
        const size_t slash1 = token.find('/');
        const size_t slash2 = slash1 == std::string_view::npos ? slash1 : token.find('/', slash1 + 1);
        const std::string_view p = token.substr(0, slash1);
        std::string_view t, n;
        if (slash1 != std::string_view::npos) t = token.substr(slash1 + 1, slash2 - (slash1 + 1));
        if (slash2 != std::string_view::npos) n = token.substr(slash2 + 1);
        const bool formOk = !p.empty() && (slash2 == std::string_view::npos || !n.empty()) &&
                            (slash1 == std::string_view::npos || slash2 != std::string_view::npos || !t.empty());
        problem_.clear();
        if (formOk && resolve(p, lists_.positions.size() / 3, "position", c.p) &&
            (t.empty() || resolve(t, lists_.texCoords.size() / 2, "texture", c.t)) &&
            (n.empty() || resolve(n, lists_.normals.size() / 3, "normal", c.n)))
            return true;
        if (problem_.empty())
            fail("corner \"" + std::string(token) + "\" is none of the forms p, p/t, p//n and p/t/n");
        return false;
    }

    bool face(Tokens& tokens) {
        const size_t first = lists_.corners.size();
        for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
            Corner c;
            if (!corner(token, c)) return false;
            lists_.corners.push_back(c);
        }
        const size_t count = lists_.corners.size() - first;
        if (count < 3) return fail("a face needs at least 3 corners, this one has " + std::to_string(count));
        lists_.vertices += 3 * (count - 2);
        if (lists_.vertices > OBJ_MAX_VERTICES)
            return fail("the model grows past " + std::to_string(OBJ_MAX_VERTICES) + " vertices");
        lists_.faces.push_back({uint32_t(first), uint32_t(count), line_});
        return true;
    }

    ObjLists& lists_;
    std::string& problem_;
    size_t line_ = 0;
};

// Feeds the text line by line; a line ending in '\' is joined with the next.
bool readLists(const char* text, size_t size, ObjLists& lists, std::string& problem) {
    LineParser parser(lists, problem);
    std::string joined;
    size_t number = 0, joinedFrom = 0;
    const char* p = text;
    const char* end = text + size;
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = nl ? nl : end;
        std::string_view line(p, size_t(lineEnd - p));
        p = nl ? nl + 1 : end;
        ++number;
        size_t trimmed = line.size();
        while (trimmed > 0 && isBlank(line[trimmed - 1])) --trimmed;
        if (trimmed > 0 && line[trimmed - 1] == '\\') {
            if (joined.empty()) joinedFrom = number;
            joined.append(line.substr(0, trimmed - 1)).push_back(' ');
            continue;
        }
        if (!joined.empty()) {
            joined.append(line);
            if (!parser.line(joined, joinedFrom)) return false;
            joined.clear();
        } else if (!parser.line(line, number)) {
            return false;
        }
    }
    return joined.empty() || parser.line(joined, joinedFrom);
}

// The polygon's normal by Newell's method, sound for any planar polygon, convex or not.
void faceNormal(const ObjLists& lists, const Face& face, float out[3]) {
    double n[3] = {0, 0, 0};
    for (uint32_t i = 0; i < face.cornerCount; ++i) {
        const float* a = &lists.positions[3 * size_t(lists.corners[face.firstCorner + i].p - 1)];
        const float* b = &lists.positions[3 * size_t(lists.corners[face.firstCorner + (i + 1) % face.cornerCount].p - 1)];
        n[0] += (double(a[1]) - b[1]) * (double(a[2]) + b[2]);
        n[1] += (double(a[2]) - b[2]) * (double(a[0]) + b[0]);
        n[2] += (double(a[0]) - b[0]) * (double(a[1]) + b[1]);
    }
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0) || !std::isfinite(length)) {
        out[0] = 0.0f, out[1] = 1.0f, out[2] = 0.0f;  // a face without area: any unit vector
        return;
    }
    for (int k = 0; k < 3; ++k) out[k] = float(n[k] / length);
}

bool indexFits(int32_t index, size_t count) { return index >= 1 && size_t(index) <= count; }

// Indices written before their element (forward references) are checked here, once every list is whole.
bool checkIndices(const ObjLists& lists, std::string& problem) {
    const size_t counts[3] = {lists.positions.size() / 3, lists.texCoords.size() / 2, lists.normals.size() / 3};
    const char* names[3] = {"position", "texture", "normal"};
    for (const Face& face : lists.faces) {
        for (uint32_t i = 0; i < face.cornerCount; ++i) {
            const Corner& c = lists.corners[face.firstCorner + i];
            const int32_t values[3] = {c.p, c.t, c.n};
            for (int k = 0; k < 3; ++k) {
                // Texture indices of a model without texture coordinates are not used, so not checked.
                if (k > 0 && (values[k] == NOT_GIVEN || (k == 1 && counts[1] == 0))) continue;
                if (indexFits(values[k], counts[k])) continue;
                problem = "line " + std::to_string(face.line) + ": " + names[k] + " index " +
                          std::to_string(values[k] == WRITTEN_ZERO ? 0 : values[k]) + " outside 1.." +
                          std::to_string(counts[k]);
                return false;
            }
        }
    }
    return true;
}

void expand(const ObjLists& lists, ObjMesh& mesh) {
    const size_t n = size_t(lists.vertices);
    const bool useTex = !lists.texCoords.empty();
    mesh.vertexCount = uint32_t(n);
    mesh.positions.resize(3 * n);
    mesh.normals.resize(3 * n);
    mesh.texCoords.assign(2 * n, 0.0f);
    size_t k = 0;
    auto put = [&](const Corner& c, const float* normal) {
        std::memcpy(&mesh.positions[3 * k], &lists.positions[3 * size_t(c.p - 1)], 3 * sizeof(float));
        if (useTex && c.t != NOT_GIVEN)
            std::memcpy(&mesh.texCoords[2 * k], &lists.texCoords[2 * size_t(c.t - 1)], 2 * sizeof(float));
        const float* from = c.n != NOT_GIVEN ? &lists.normals[3 * size_t(c.n - 1)] : normal;
        std::memcpy(&mesh.normals[3 * k], from, 3 * sizeof(float));
        ++k;
    };
    for (const Face& face : lists.faces) {
        const Corner* c = &lists.corners[face.firstCorner];
        float normal[3] = {0, 0, 0};
        for (uint32_t i = 0; i < face.cornerCount; ++i)
            if (c[i].n == NOT_GIVEN) {
                faceNormal(lists, face, normal);
                break;
            }
        // A fan from the first corner keeps the face's winding.
        for (uint32_t i = 1; i + 1 < face.cornerCount; ++i) {
            put(c[0], normal);
            put(c[i], normal);
            put(c[i + 1], normal);
        }
    }
}

// Why the bytes are not text an OBJ reader should try, or empty when they may be.
std::string notText(const unsigned char* bytes, size_t size) {
    if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return "is UTF-16 text; OBJ files are read as ASCII or UTF-8";
    for (size_t i = 0; i < size; ++i) {
        if (!isBinaryByte(bytes[i])) continue;
        char what[96];
        std::snprintf(what, sizeof what, "holds binary data (byte 0x%02X at offset %zu), not OBJ text", bytes[i], i);
        return what;
    }
    return {};
}

}  // namespace

bool parseObjText(const char* text, size_t size, ObjMesh& mesh, std::string* problem) {
    mesh = ObjMesh{};
    std::string why = notText(reinterpret_cast<const unsigned char*>(text), size);
    if (why.empty() && size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) text += 3, size -= 3;  // UTF-8 mark

    ObjLists lists;
    if (why.empty() && readLists(text, size, lists, why) && checkIndices(lists, why)) {
        if (!lists.faces.empty()) {
            expand(lists, mesh);
            return true;
        }
        why = "has no faces to draw";
    }
    if (problem) *problem = why;
    return false;
}

}  // namespace zelFramework
