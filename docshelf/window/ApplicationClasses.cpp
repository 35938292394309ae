#include "DocumentationAppDelegate.h"

#include "platform/appkit/ClassRegistry.h"
#include "views/BackgroundFilterView.h"

// The application's own classes, known by name to window descriptions before
// the program entry runs, as the Objective-C runtime knows them.
namespace docshelf {
namespace {

const bool registered = [] {
    appkit::ClassRegistry::registerClass("DocumentationAppDelegate",
                                         [] { return std::make_shared<DocumentationAppDelegate>(); });
    appkit::ClassRegistry::registerClass("BackgroundFilterView",
                                         [] { return std::make_shared<views::BackgroundFilterView>(); });
    return true;
}();

}
}
