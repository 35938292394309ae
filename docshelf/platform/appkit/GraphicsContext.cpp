#include "GraphicsContext.h"

namespace docshelf::appkit {

namespace {

// Drawing happens on the main thread; per thread keeps other threads from seeing it.
thread_local GraphicsContext* currentContext = nullptr;

}

GraphicsContext* GraphicsContext::current() {
    return currentContext;
}

GraphicsContext* GraphicsContext::setCurrent(GraphicsContext* context) {
    GraphicsContext* previous = currentContext;
    currentContext = context;
    return previous;
}

}
