// The free-format record reader on arbitrary text: the first byte of each
// step chooses what to read next, so records of every shape are tried.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "text/record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string plan(reinterpret_cast<const char*>(data), std::min<size_t>(size, 16));
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    korvel::text::RecordReader reader(in);
    try {
        for (int round = 0; round < 1000; ++round) {
            switch (plan[round % plan.size()] % 4) {
                case 0:
                    reader.BeginRecord("A");
                    break;
                case 1:
                    reader.ReadInt();
                    break;
                case 2:
                    reader.ReadReal();
                    break;
                default:
                    reader.ReadLine("B");
                    break;
            }
        }
    } catch (const korvel::text::ReadError&) {
    }
    return 0;
}
