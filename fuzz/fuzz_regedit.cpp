// Any bytes as the settings store file: parsing either succeeds or raises the error; a parsed
// file writes back as it was, and a value written into it reads back.
#include "catalog/error.h"
#include "posix/regedit_document.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    using qbr::platform::RegeditDocument;
    try {
        RegeditDocument doc = RegeditDocument::parse(input, "fuzz.reg");
        // Unchanged, a file writes back byte for byte (a blank one as nothing).
        const std::string text = doc.text();
        if (!text.empty() && text != input)
            __builtin_trap();
        // Key, name and text cut from the input itself, so they hold its odd bytes.
        const std::string key = "HKEY_CURRENT_USER\\" + input.substr(0, size / 3);
        const std::string name = input.substr(size / 3, size / 6);
        const std::string value = input.substr(size / 2);
        if (doc.setString(key, name, value)) {
            const auto back = RegeditDocument::parse(doc.text(), "fuzz.reg").value(key, name);
            if (!back || back->data.substr(0, back->data.find('\0')) != value)
                __builtin_trap();
        }
    } catch (const qbr::Error&) {
    }
    return 0;
}
