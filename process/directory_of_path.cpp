#include "process/directory_of_path.h"

Text DirectoryOfPath(const Text& path) {
    Text text = path;
    if (!text.empty() && text.back() == '\\') text.pop_back();
    std::size_t end = 0;  // length up to and including the latest backslash; 0 for none
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            ++i;  // a lone lead byte at the end simply ends the scan
            continue;
        }
        if (byte == '\\') end = i + 1;
    }
    return text.substr(0, end);
}
