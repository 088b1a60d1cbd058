#include "sync/sync_text_merge.h"

#include <cstring>
#include <map>
#include <vector>

#include "sync/sync_text.h"

namespace zelFramework {

namespace {

// Where each word of a key line starts, relative to the line, as the original lays them out.
struct KeyColumns {
    std::string indent = "    ";
    size_t width[3] = {11, 9, 16};  // time, value, curve (the ends word is last)
};

// The columns of the first key line after a first key (four words), else the defaults.
KeyColumns columnsOf(const std::vector<SyncTextLine>& lines) {
    KeyColumns columns;
    for (const SyncTextLine& line : lines) {
        if (line.kind != SyncTextLine::Key || line.key == 0) continue;
        const std::vector<std::string_view> words = syncTextWords(line.text.substr(0, line.wordsEnd));
        if (words.size() != 4 || line.text.find('\t') != std::string_view::npos) continue;
        const auto at = [&](size_t w) { return size_t(words[w].data() - line.text.data()); };
        columns.indent = std::string(line.text.substr(0, at(0)));
        for (size_t w = 0; w < 3; ++w) columns.width[w] = at(w + 1) - at(w);
        break;
    }
    return columns;
}

void appendColumn(std::string& line, const std::string& word, size_t width) {
    line += word;
    line.append(word.size() < width ? width - word.size() : 1, ' ');
}

std::string keyLine(const KeyColumns& columns, const SyncKeyRecord& key, bool first) {
    std::string line = columns.indent;
    appendColumn(line, formatSyncFloat(key.time), columns.width[0]);
    if (first) return line + formatSyncFloat(key.value);
    appendColumn(line, formatSyncFloat(key.value), columns.width[1]);
    appendColumn(line, curveName(key.curve), columns.width[2]);
    return line + endsName(key.ends);
}

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One key of the original block: the comment lines before it and what follows its words.
struct OldKey {
    std::vector<std::string_view> before;
    std::string_view tail;
    float time = 0.0f;
    bool used = false;
};

// The lines of one block after its header, rewritten for `keys`.
void writeBlock(std::vector<OldKey>& old, const std::vector<std::string_view>& after,
                const std::vector<SyncKeyRecord>& keys, const KeyColumns& columns, std::string& out) {
    // Which old key each new key continues: the same place when the count is unchanged, else the
    // first unused old key at exactly the same time.
    std::vector<int> match(keys.size(), -1);
    for (size_t k = 0; k < keys.size(); ++k) {
        if (keys.size() == old.size()) {
            match[k] = int(k);
        } else {
            for (size_t o = 0; o < old.size(); ++o)
                if (!old[o].used && sameFloat(old[o].time, keys[k].time)) {
                    match[k] = int(o);
                    old[o].used = true;
                    break;
                }
        }
    }
    for (int m : match)
        if (m >= 0) old[size_t(m)].used = true;
    const auto keepComments = [&](const OldKey& dropped) {
        for (std::string_view line : dropped.before) out.append(line).append("\n");
        const size_t hash = dropped.tail.find('#');
        if (hash != std::string_view::npos) out.append(columns.indent).append(dropped.tail.substr(hash)).append("\n");
    };
    size_t nextOld = 0;  // comments of removed keys come out in their old order, before a later key
    for (size_t k = 0; k < keys.size(); ++k) {
        for (; nextOld < old.size(); ++nextOld) {
            if (int(nextOld) == match[k]) break;
            if (old[nextOld].used) continue;
            if (old[nextOld].time > keys[k].time) break;
            keepComments(old[nextOld]);
        }
        std::string line = keyLine(columns, keys[k], k == 0);
        if (match[k] >= 0) {
            const OldKey& kept = old[size_t(match[k])];
            for (std::string_view before : kept.before) out.append(before).append("\n");
            line += kept.tail;
        }
        out += line + "\n";
    }
    for (; nextOld < old.size(); ++nextOld)
        if (!old[nextOld].used) keepComments(old[nextOld]);
    for (std::string_view line : after) out.append(line).append("\n");
}

}  // namespace

bool mergeSyncText(std::string_view original, const SyncData& data, std::string& out, std::string& problem) {
    SyncData parsed;
    std::vector<SyncTextLine> lines;
    if (!parseSyncText(original, parsed, problem, &lines)) return false;
    const KeyColumns columns = columnsOf(lines);

    // The loader applies blocks in order, so for a name written twice the last block is the one
    // that counts; that is the block that takes the new keys.
    std::map<std::string, size_t> lastBlock;
    for (size_t b = 0; b < parsed.controllers.size(); ++b) lastBlock[parsed.controllers[b].controllerName()] = b;
    std::map<std::string, const SyncControllerRecord*> edited;
    for (const SyncControllerRecord& rec : data.controllers) edited[rec.controllerName()] = &rec;

    std::string text;
    size_t i = 0;
    while (i < lines.size()) {
        const SyncTextLine& line = lines[i];
        text.append(line.text).append("\n");
        ++i;
        if (line.kind != SyncTextLine::Controller) continue;
        const std::string name = parsed.controllers[line.controller].controllerName();
        const auto found = edited.find(name);
        if (found == edited.end() || lastBlock[name] != line.controller) continue;
        // The block runs to the next header; comment lines after its last key belong to what follows.
        size_t end = i;
        while (end < lines.size() && lines[end].kind != SyncTextLine::Controller) ++end;
        size_t lastKey = i;
        for (size_t j = i; j < end; ++j)
            if (lines[j].kind == SyncTextLine::Key) lastKey = j + 1;
        std::vector<OldKey> old;
        std::vector<std::string_view> pending;
        for (size_t j = i; j < lastKey; ++j) {
            if (lines[j].kind != SyncTextLine::Key) {
                pending.push_back(lines[j].text);
                continue;
            }
            OldKey key;
            key.before = std::move(pending);
            pending.clear();
            key.tail = lines[j].text.substr(lines[j].wordsEnd);
            key.time = parsed.controllers[line.controller].keys[lines[j].key].time;
            old.push_back(std::move(key));
        }
        std::vector<std::string_view> after(pending);
        for (size_t j = lastKey; j < end; ++j) after.push_back(lines[j].text);
        writeBlock(old, after, found->second->keys, columns, text);
        edited.erase(found);
        i = end;
    }
    // What the text lacks goes at its end, in the data's order; keyless controllers add nothing.
    for (const SyncControllerRecord& rec : data.controllers) {
        if (rec.keys.empty() || !edited.count(rec.controllerName()) || lastBlock.count(rec.controllerName())) continue;
        const std::string preamble = formatSyncText(SyncData{});
        text += formatSyncText(SyncData{{SyncControllerRecord{rec.storedName, {}}}}).substr(preamble.size());
        for (size_t k = 0; k < rec.keys.size(); ++k) text += keyLine(columns, rec.keys[k], k == 0) + "\n";
        edited.erase(rec.controllerName());
    }
    // The original's line ends: CR LF when it used them, and no line end after its last line if it had none.
    if (!original.empty() && original.back() != '\n' && !text.empty() && text.back() == '\n') text.pop_back();
    if (original.find("\r\n") != std::string_view::npos) {
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        text = std::move(crlf);
    }
    out = std::move(text);
    return true;
}

}  // namespace zelFramework
