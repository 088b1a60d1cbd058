// Every file in shaders/ must pass the reference GLSL compiler with each prefix its users pass, so a
// shader that only a lenient driver accepts is caught before it reaches one that is not.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Variant {
    std::string stage;   // vert, frag or geom
    std::string prefix;  // text put in front of the file
    std::string label;   // the table's words, for messages
};

// A line's prefix words turned into the text callers pass.
std::string prefixFromWords(const std::vector<std::string>& words) {
    std::string version, defines;
    for (const std::string& word : words) {
        if (word == "-")
            continue;
        size_t equals = word.find('=');
        if (word.rfind("version=", 0) == 0)
            version = "#version " + word.substr(8) + "\n";
        else if (equals == std::string::npos)
            defines += "#define " + word + "\n";
        else
            defines += "#define " + word.substr(0, equals) + " " + word.substr(equals + 1) + "\n";
    }
    return version + defines;
}

std::map<std::string, std::vector<Variant>> readTable(const fs::path& path, std::vector<std::string>& problems) {
    std::map<std::string, std::vector<Variant>> table;
    std::ifstream in(path);
    if (!in)
        problems.push_back("cannot read " + path.string());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string file, stage, word;
        if (!(words >> file) || file[0] == '#')
            continue;
        words >> stage;
        std::vector<std::string> rest;
        while (words >> word)
            rest.push_back(word);
        if (stage != "vert" && stage != "frag" && stage != "geom") {
            problems.push_back("shaders.txt line " + std::to_string(number) + ": unknown stage '" + stage + "'");
            continue;
        }
        std::string label;
        for (const std::string& w : rest)
            label += w + " ";
        table[file].push_back({stage, prefixFromWords(rest), label});
    }
    return table;
}

std::string defaultStage(const std::string& file) {
    const std::string vert = "Vert.h";
    bool isVertex = file.size() >= vert.size() && file.compare(file.size() - vert.size(), vert.size(), vert) == 0;
    return isVertex ? "vert" : "frag";
}

// Runs the validator on one text; returns its exit status and output.
int validate(const std::string& text, const std::string& stage, std::string& output) {
    char pattern[] = "/tmp/orvo-glsl-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) {
        output = "cannot make a temporary file";
        return -1;
    }
    ssize_t written = write(fd, text.data(), text.size());
    close(fd);
    if (written != ssize_t(text.size())) {
        unlink(pattern);
        output = "cannot write a temporary file";
        return -1;
    }
    std::string command = "glslangValidator -d -S " + stage + " " + pattern + " 2>&1";
    output.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        unlink(pattern);
        output = "cannot run glslangValidator";
        return -1;
    }
    std::array<char, 512> chunk;
    while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe))
        output.append(chunk.data(), n);
    int status = pclose(pipe);
    unlink(pattern);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(ShaderFiles, EveryFilePassesTheReferenceCompilerWithItsPrefixes) {
    std::string probe;
    ASSERT_EQ(validate("void main() { gl_FragColor = vec4(1.0); }\n", "frag", probe), 0)
        << "glslangValidator (Debian glslang-tools) is needed: " << probe;

    const fs::path folder = fs::path(ORVO_SOURCE_DIR) / "shaders";
    std::vector<std::string> problems;
    auto table = readTable(fs::path(ORVO_SOURCE_DIR) / "tests/shaders/shaders.txt", problems);
    for (const std::string& problem : problems)
        ADD_FAILURE() << problem;

    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".h")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    int checked = 0;
    for (const std::string& file : files) {
        std::vector<Variant> variants = table.count(file) ? table[file]
                                                          : std::vector<Variant>{{defaultStage(file), "", "-"}};
        std::string source = readFile(folder / file);
        for (const Variant& variant : variants) {
            std::string output;
            int status = validate(variant.prefix + source, variant.stage, output);
            EXPECT_EQ(status, 0) << file << " as " << variant.stage << " with prefix [" << variant.label
                                 << "]:\n" << output;
            ++checked;
        }
        table.erase(file);
    }
    // A table line for a file that does not exist is a misspelt or stale name.
    for (const auto& [file, variants] : table)
        ADD_FAILURE() << "shaders.txt names " << file << ", which is not in shaders/";
    std::printf("%d shader variants checked in %zu files\n", checked, files.size());
}

TEST(ShaderFiles, ValidatorRejectsWhatOnlyALenientDriverAccepts) {
    // Implicit int-to-float conversion is GLSL 1.20; some drivers take it under 1.10 anyway.
    std::string output;
    EXPECT_NE(validate("void main() { float x = 1; gl_FragColor = vec4(x); }\n", "frag", output), 0) << output;
    EXPECT_NE(validate("void main() { gl_FragColor = vec4(1.0) }\n", "frag", output), 0) << output;
}
