// Any property list given to the window description loader, with the
// application's own classes registered: loaded or refused, never a crash.
#include "platform/appkit/Application.h"
#include "platform/appkit/HeadlessBackend.h"
#include "platform/appkit/NibLoader.h"
#include "platform/foundation/PropertyListReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace docshelf;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto read = foundation::PropertyListReader::parse({data, size});
    if (read.root.isAbsent())
        return 0;
    appkit::Application::reset(std::make_shared<appkit::HeadlessBackend>());
    appkit::NibLoader::load(read.root, appkit::Application::shared());
    appkit::Application::reset();
    return 0;
}
