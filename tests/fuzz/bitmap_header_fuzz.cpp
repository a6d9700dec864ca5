// The headers of a bitmap file: the check that runs before the platform's loader is asked.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "face/FaceLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string_view head = file.substr(0, face::kBitmapHeadBytes);
    (void)face::BitmapFileComplete(head, size);
    // The same headers over a file size from the data's last eight bytes (cut or padded files).
    if (size >= 8) {
        std::uint64_t claimed = 0;
        std::memcpy(&claimed, data + size - 8, sizeof claimed);
        (void)face::BitmapFileComplete(head, claimed);
    }
    return 0;
}
