// Vendpost's text operations on any bytes in their fixed buffers: the model
// name from a module path, the open command trimmed with any reported byte
// count, the file-name part. Each buffer is exactly its Win32 size, so the
// sanitizer sees a read or write past it.
#include "SuppliesText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace vendpost;

namespace {

// A buffer of the given capacity holding the text, cut to fit and terminated.
std::vector<char> buffer(const std::string& text, unsigned long capacity) {
    std::vector<char> out(capacity, '\0');
    std::memcpy(out.data(), text.data(), std::min<std::size_t>(text.size(), capacity - 1));
    return out;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    unsigned long reported = input.ConsumeIntegral<unsigned long>();
    std::string first = input.ConsumeRandomLengthString(kModulePathSize + 16);
    std::string second = input.remaining_bytes() ? input.ConsumeRemainingBytesAsString() : first;

    std::vector<char> modulePath = buffer(first, kModulePathSize);
    std::vector<char> modelName(kModelNameSize, 'x');
    GetModelName(modulePath.data(), modelName.data(), static_cast<unsigned long>(modelName.size()));
    if (std::memchr(modelName.data(), '\0', modelName.size()) == nullptr)
        __builtin_trap();

    // TrimToExe with any byte count: the registry's report may exceed the text.
    std::vector<char> command = buffer(second, kRegistryValueSize);
    TrimToExe(command.data(), reported, static_cast<unsigned long>(command.size()));
    TrimToExe(command.data(), reported % (kRegistryValueSize + 8), static_cast<unsigned long>(command.size()));
    FileNamePart(command.data());
    FileNamePart(modulePath.data());
    return 0;
}
