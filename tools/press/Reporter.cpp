#include "Reporter.h"

#include <iostream>

namespace docshelf::press {

Reporter::Reporter(bool showProgress) : showProgress_(showProgress) {}

void Reporter::progress(const std::string& line) const {
    if (showProgress_)
        std::cerr << "docshelf-press: " << line << "\n";
}

void Reporter::warning(const std::string& line) const {
    std::cerr << "docshelf-press: warning: " << line << "\n";
}

void Reporter::error(const std::string& line) const {
    std::cerr << "docshelf-press: error: " << line << "\n";
}

void Reporter::finding(const std::string& line) const {
    std::cerr << line << "\n";
}

}
