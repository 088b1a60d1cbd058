#include "sync/sync_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace zelFramework {

namespace {

const char* const CURVE_NAMES[] = {"linear", "smoothstep", "exponential", "minexponential"};
const char* const ENDS_NAMES[] = {"valval", "valzero", "valone", "zeroval", "oneval", "oneone", "zerozero"};

std::string codeName(int32_t code, const char* const* names, int32_t count) {
    if (code >= 1 && code <= count) return names[code - 1];
    return std::to_string(code);
}

bool parseCode(std::string_view token, const char* const* names, int32_t count, int32_t& out) {
    for (int32_t i = 0; i < count; ++i)
        if (token == names[i]) {
            out = i + 1;
            return true;
        }
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::string formatFloatText(float f) {
    if (std::isnan(f)) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        char buf[16];
        std::snprintf(buf, sizeof buf, "raw:%08X", unsigned(bits));
        return buf;
    }
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, f);
    (void)ec;  // 64 bytes always hold the shortest form of a float
    return std::string(buf, ptr);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseFloat(std::string_view token, float& out) {
    if (token.substr(0, 4) == "raw:") {
        const std::string_view hex = token.substr(4);
        if (hex.size() != 8) return false;
        uint32_t bits = 0;
        for (char c : hex) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            bits = bits << 4 | uint32_t(d);
        }
        std::memcpy(&out, &bits, 4);
        return true;
    }
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::string quoteName(const std::string& name) {
    std::string out = "\"";
    for (unsigned char c : name) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", unsigned(c));
            out += buf;
        }
    }
    return out + "\"";
}

// Reads a quoted name starting at text[pos] == '"'; pos ends just past the closing quote.
bool unquoteName(std::string_view text, size_t& pos, std::string& out, std::string& problem) {
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size()) break;
        const char e = text[pos++];
        if (e == '"' || e == '\\') {
            out += e;
        } else if (e == 'x' && pos + 2 <= text.size() && hexDigit(text[pos]) >= 0 && hexDigit(text[pos + 1]) >= 0) {
            out += char(hexDigit(text[pos]) * 16 + hexDigit(text[pos + 1]));
            pos += 2;
        } else {
            problem = "unknown escape in the name (use \\\", \\\\ or \\xNN)";
            return false;
        }
    }
    if (problem.empty()) problem = "name without its closing quote";
    return false;
}

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string_view withoutComment(std::string_view line) {
    const size_t hash = line.find('#');
    return hash == std::string_view::npos ? line : line.substr(0, hash);
}

bool parseControllerLine(std::string_view line, SyncControllerRecord& rec, std::string& problem) {
    size_t pos = line.find("controller") + std::strlen("controller");
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '"') {
        problem = "expected the controller's name in double quotes";
        return false;
    }
    if (!unquoteName(line, pos, rec.storedName, problem)) return false;
    if (!splitWords(withoutComment(line.substr(pos))).empty()) {
        problem = "unexpected text after the controller's name";
        return false;
    }
    return true;
}

bool parseKeyLine(std::string_view line, bool first, SyncKeyRecord& key, std::string& problem) {
    const std::vector<std::string_view> words = splitWords(withoutComment(line));
    const size_t expected = first ? 2 : 4;
    if (words.size() != expected) {
        problem = first ? "a controller's first key is: TIME VALUE"
                        : "a key after the first is: TIME VALUE CURVE ENDS";
        return false;
    }
    if (!parseFloat(words[0], key.time)) {
        problem = "bad time '" + std::string(words[0]) + "'";
        return false;
    }
    if (!parseFloat(words[1], key.value)) {
        problem = "bad value '" + std::string(words[1]) + "'";
        return false;
    }
    if (first) return true;
    if (!parseCode(words[2], CURVE_NAMES, 4, key.curve)) {
        problem = "unknown curve '" + std::string(words[2]) + "'";
        return false;
    }
    if (!parseCode(words[3], ENDS_NAMES, 7, key.ends)) {
        problem = "unknown ends '" + std::string(words[3]) + "'";
        return false;
    }
    return true;
}

std::string padded(std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

}  // namespace

std::string curveName(int32_t curve) { return codeName(curve, CURVE_NAMES, 4); }
std::string endsName(int32_t ends) { return codeName(ends, ENDS_NAMES, 7); }

std::string formatSyncText(const SyncData& data) {
    std::string out = "# Sync data: one block per controller, one key per line.\n"
                      "# TIME VALUE, then from the second key on: CURVE ENDS of the segment into the key.\n";
    for (const SyncControllerRecord& rec : data.controllers) {
        out += "\ncontroller " + quoteName(rec.storedName) + "\n";
        for (size_t k = 0; k < rec.keys.size(); ++k) {
            const SyncKeyRecord& key = rec.keys[k];
            std::string line = "    " + padded(formatFloatText(key.time), 12) + " ";
            if (k == 0) {
                line += formatFloatText(key.value);
            } else {
                line += padded(formatFloatText(key.value), 12) + " " + padded(curveName(key.curve), 14) + " " +
                        endsName(key.ends);
            }
            out += line + "\n";
        }
    }
    return out;
}

std::string formatSyncFloat(float f) { return formatFloatText(f); }

std::vector<std::string_view> syncTextWords(std::string_view line) { return splitWords(withoutComment(line)); }

bool parseSyncText(std::string_view text, SyncData& out, std::string& problem, std::vector<SyncTextLine>* lines) {
    SyncData data;
    std::vector<SyncTextLine> found;
    size_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::vector<std::string_view> words = splitWords(line);
        SyncTextLine info;
        info.text = line;
        if (words.empty() || words[0][0] == '#') {
            found.push_back(info);
            continue;
        }

        std::string why;
        bool ok;
        if (words[0] == "controller" || words[0].substr(0, 11) == "controller\"") {
            data.controllers.emplace_back();
            ok = parseControllerLine(line, data.controllers.back(), why);
            info.kind = SyncTextLine::Controller;
        } else if (data.controllers.empty()) {
            ok = false;
            why = "a key before the first 'controller' line";
        } else {
            SyncControllerRecord& rec = data.controllers.back();
            rec.keys.emplace_back();
            ok = parseKeyLine(line, rec.keys.size() == 1, rec.keys.back(), why);
            info.kind = SyncTextLine::Key;
            info.key = rec.keys.size() - 1;
            const std::vector<std::string_view> keyWords = splitWords(withoutComment(line));
            if (!keyWords.empty()) info.wordsEnd = size_t(keyWords.back().data() + keyWords.back().size() - line.data());
        }
        info.controller = data.controllers.empty() ? 0 : data.controllers.size() - 1;
        found.push_back(info);
        if (!ok) {
            problem = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    out = std::move(data);
    if (lines) *lines = std::move(found);
    return true;
}

}  // namespace zelFramework
