// The engine's whole run on an arbitrary data file, through the entry point,
// in a scratch folder that stays the current folder for the fuzzer's life.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

extern "C" int32_t IKORVEL(int32_t);

namespace {

std::filesystem::path ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvel-fuzz-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    std::filesystem::current_path(folder);
    std::ofstream control(folder / "names.dat", std::ios::binary);
    control << "2015.5.1\r\nfuzz\r\nfuzz\r\n0\r\n"
            << (folder / "wall.kv5d").string() << "\r\n"
            << (folder / "wall.kv5o").string() << "\r\n"
            << (folder / "wall.kv5p").string() << "\r\n"
            << (folder / "wall.kv5r").string() << "\r\n";
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = ScratchFolder();
    {
        std::ofstream out(folder / "wall.kv5d", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::cerr.setstate(std::ios::failbit);  // the engine's progress lines are noise here
    const int32_t result = IKORVEL(1);
    std::cerr.clear();
    if (result != 0 && result != 2) __builtin_trap();
    return 0;
}
