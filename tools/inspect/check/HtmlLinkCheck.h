#pragma once

#include "disc/Disc.h"
#include "inspect/common/Findings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::inspect {

// The links and pictures of the HTML manuals: from each start document that the
// browser opens (a "top.html"), every relative "href" and "src" must name a file
// of its documentation folder, in the same letter case. Pages reached so are
// checked too. Only files under the documentation folder are read, through the
// bounded reader: at most maximumLinks links and maximumBytes of pages in one check.
class HtmlLinkCheck {
public:
    static constexpr std::size_t maximumLinks = 4'000;
    // Bytes of pages read in one check: 4,000 pages of the reader's 4 MiB each would be 16 GB.
    static constexpr std::size_t maximumBytes = 64u * 1024u * 1024u;

    struct Start {
        std::string document; // ".../Manuals/French/top.html", as the lists write it
        std::string folder;   // ".../Manuals": links may lead anywhere inside it
    };
    // The HTML start documents that the browser opens for these models, each once.
    static std::vector<Start> startDocuments(const disc::Disc& lists, const std::vector<std::string>& models);

    static void run(const std::vector<Start>& starts, Findings& findings);

    struct Link {
        std::string reference; // the attribute's value, entities decoded
        std::size_t line;      // from 1
        bool picture;          // a "src" rather than an "href"
    };
    // Every "href" and "src" of a page, outside comments, scripts and styles.
    static std::vector<Link> links(std::string_view html);
    // The path that a reference names relative to its page, percent-decoded,
    // without its query and fragment; nullopt for what is not a relative link
    // to a file (an address with a scheme, "//host", "/root", "#part" alone).
    static std::optional<std::string> relativePath(std::string_view reference);
};

}
