// Writes the six segment artworks as BMP files into the folder given on the
// command line (resources/ in the source tree).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "segart.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argc > 0 ? argv[0] : "zent_segart_gen");
        return 2;
    }
    const std::filesystem::path Folder = argv[1];
    std::error_code Error;
    if (!std::filesystem::is_directory(Folder, Error)) {
        std::fprintf(stderr, "zent_segart_gen: %s is not a folder\n", argv[1]);
        return 1;
    }
    for (const zent::segart::Artwork& Art : zent::segart::Artworks) {
        const std::filesystem::path Path = Folder / (std::string(Art.Name) + ".bmp");
        const std::vector<uint8_t> Bytes = zent::segart::ArtworkBmp(Art);
        std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
        Out.close();
        if (!Out) {
            std::fprintf(stderr, "zent_segart_gen: cannot write %s\n", Path.string().c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", Path.string().c_str(), Bytes.size());
    }
    return 0;
}
