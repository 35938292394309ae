#include "Reporter.h"

#include "PrintedName.h"

#include <iostream>

namespace docshelf::press {

namespace {

// Every line on one line and free of terminal controls, whatever names it
// quotes; names the press cut already are short, a line is cut only past this.
std::string shown(const std::string& line) {
    return PrintedName::of(line, 4096);
}

}

Reporter::Reporter(bool showProgress) : showProgress_(showProgress) {}

void Reporter::progress(const std::string& line) const {
    if (showProgress_)
        std::cerr << "docshelf-press: " << shown(line) << "\n";
}

void Reporter::warning(const std::string& line) const {
    std::cerr << "docshelf-press: warning: " << shown(line) << "\n";
}

void Reporter::error(const std::string& line) const {
    std::cerr << "docshelf-press: error: " << shown(line) << "\n";
}

void Reporter::finding(const std::string& line) const {
    std::cerr << shown(line) << "\n";
}

}
