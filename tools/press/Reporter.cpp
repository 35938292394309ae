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

Reporter::Reporter(bool showProgress, FindingsChoice choice)
    : showProgress_(showProgress), choice_(std::move(choice)) {}

void Reporter::progress(const std::string& line) const {
    if (showProgress_)
        std::cerr << "docshelf-press: " << shown(line) << "\n";
}

void Reporter::warning(const std::string& line) const {
    ++ownWarnings_;
    std::cerr << "docshelf-press: warning: " << shown(line) << "\n";
}

void Reporter::error(const std::string& line) const {
    std::cerr << "docshelf-press: error: " << shown(line) << "\n";
}

void Reporter::findings(inspect::Findings found) const {
    checked_ = true;
    found.ignore(choice_.ignored);
    const bool streamed =
        choice_.format == inspect::OutputFormat::Text || choice_.format == inspect::OutputFormat::Github;
    if (streamed)
        std::cout << inspect::FindingsOutput::write(found, choice_.format, DOCSHELF_VERSION) << std::flush;
    for (const auto& finding : found.all())
        reported_.add(finding);
}

int Reporter::finish() const {
    if (checked_) {
        if (choice_.format == inspect::OutputFormat::Json || choice_.format == inspect::OutputFormat::Sarif)
            std::cout << inspect::FindingsOutput::write(reported_, choice_.format, DOCSHELF_VERSION);
        // A clean disc is silent off a terminal, as the press is.
        if (!reported_.all().empty() || showProgress_)
            std::cerr << "docshelf-press: " << reported_.summary() << "\n";
    }
    std::cout.flush();
    const std::size_t warnings = reported_.count(inspect::Severity::Warning) + ownWarnings_;
    return reported_.hasErrors() || (choice_.strict && warnings > 0) || !std::cout.good() ? 1 : 0;
}

}
