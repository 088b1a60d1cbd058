#include "asset_set.h"

#include <filesystem>
#include <map>

#include "assets/byte_io.h"
#include "flash_table.h"
#include "host_figure.h"
#include "sets.h"
#include "stadium_bowl.h"
#include "video_frames.h"

namespace zelFramework::scenegen {
namespace {

bool writeSet(const SetDescription& scene, const std::string& outputDir, std::map<std::string, PictureJob>& pictures,
              std::FILE* log) {
    std::string error;
    bool ok = writeScene(scene, outputDir, &error);
    if (log)
        std::fprintf(log, "%-34s %7zu triangles %4zu objects %3zu materials %5zu camera samples%s%s\n",
                     scene.fileName.c_str(), scene.triangleCount(), scene.objects.size(), scene.materials.size(),
                     scene.camera.size(), ok ? "" : "  FAILED: ", error.c_str());
    for (const PictureJob& p : scene.pictures) pictures.emplace(p.name, p);
    return ok;
}

bool writeFigure(Character who, const std::string& fileName, const std::string& outputDir, std::FILE* log) {
    Mesh mesh = buildHost(who);
    std::string text = hostObjText(mesh, fileName.substr(0, fileName.find('.')));
    std::string path = outputDir + "/" + fileName;
    bool ok = writeWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    // The model loader prefers its binary cache beside the OBJ file whatever its age, so a cache of an
    // earlier figure must go when the figure is written anew.
    std::error_code ec;
    std::filesystem::remove(path + ".bin", ec);
    if (log) std::fprintf(log, "%-34s %7zu triangles%s\n", fileName.c_str(), mesh.triangleCount(), ok ? "" : "  FAILED");
    return ok;
}

bool writeFlashes(const std::string& outputDir, std::FILE* log) {
    std::string path = resourcePath(outputDir, kFlashTableName);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    bool ok = writeFlashTable(makeFlashTable(kFlashTableSize, 0x5eed2000), path);
    if (log) std::fprintf(log, "%-34s %7zu points%s\n", kFlashTableName, kFlashTableSize, ok ? "" : "  FAILED");
    return ok;
}

}  // namespace

bool generateAll(const std::string& outputDir, std::FILE* log) {
    bool ok = true;
    std::map<std::string, PictureJob> pictures;  // by name: shared pictures are written once
    std::vector<TitleText> titles = featureTitles();
    for (size_t i = 0; i < titles.size(); ++i)
        ok &= writeSet(buildTitleScene(titles[i], int(i)), outputDir, pictures, log);
    ok &= writeSet(buildStadiumScene(), outputDir, pictures, log);
    ok &= writeSet(buildIntroScene(), outputDir, pictures, log);
    ok &= writeSet(buildTunnelScene(), outputDir, pictures, log);
    ok &= writeSet(buildArenaTunnelScene(), outputDir, pictures, log);
    ok &= writeSet(buildLogoScene(), outputDir, pictures, log);
    ok &= writeFigure(Character::Pimsel, "pimsel.obj", outputDir, log);
    ok &= writeFigure(Character::Tabor, "tabor.obj", outputDir, log);
    ok &= writeFlashes(outputDir, log);
    for (const PictureJob& p : videoFrameJobs()) pictures.emplace(p.name, p);
    for (const auto& [name, job] : pictures) {
        bool written = writePicture(job, outputDir);
        if (!written && log) std::fprintf(log, "%s: FAILED\n", name.c_str());
        ok &= written;
    }
    if (log) std::fprintf(log, "%zu pictures\n", pictures.size());
    return ok;
}

}  // namespace zelFramework::scenegen
