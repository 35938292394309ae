#pragma once

#include "inspect/common/Severity.h"

#include <span>
#include <string_view>

namespace docshelf::inspect {

// What one finding's code stands for: its severity, and for --explain and the
// rules of SARIF what it means.
struct Code {
    std::string_view code;    // "model-without-kpsid"
    Severity severity;        // how it is reported, and SARIF's default level
    Severity lowered;         // the one other severity a rule may give it where it matters less; else the same
    std::string_view meaning; // what the check found
    std::string_view seen;    // what the user of the disc sees
    std::string_view fix;     // what the disc's author changes
};

// Every code that check and render report, in the order of the README's table:
// the one list of codes, severities and explanations.
inline constexpr Code codeList[] = {
    {"common-resource-path-missing", Severity::Error, Severity::Error,
     "The application's Info.plist has no \"CommonResourcePath\".", "The window lists no models.",
     "Add \"CommonResourcePath\" with the full path of CommonResource.plist."},
    {"key-missing", Severity::Error, Severity::Error,
     "A key that the chain of lists needs (\"CDInfo\", \"ModelInfo\", \"ContainedModel\", \"Model\" or "
     "\"FolderInfoArray\") is missing or empty.",
     "Models, their documentation or the languages are missing from the window.", "Add the key to the list."},
    {"plist-missing", Severity::Error, Severity::Error,
     "A property list that a key names, or Documentation.plist, does not exist.",
     "Whatever the list holds is missing from the window.",
     "Put the file where the key says, or correct the key; check the volume mapping for /Volumes paths."},
    {"plist-unreadable", Severity::Error, Severity::Error,
     "A property list cannot be read; the parser says why, and where.",
     "Whatever the list holds is missing from the window.", "Repair the list at the line given."},
    {"plist-root-not-dictionary", Severity::Error, Severity::Error,
     "A property list holds something other than a dictionary at its root.",
     "Whatever the list should hold is missing from the window.", "Make the root a dictionary."},
    {"plist-form", Severity::Note, Severity::Note,
     "A property list is written in another form than XML in UTF-8 or binary: with a UTF-8 byte-order mark, "
     "in UTF-16, or in the old-style text form ({ Key = Value; }).",
     "Nothing: the browser reads it as a Mac does, with the same values.",
     "Nothing needs fixing; to keep the disc's lists alike, save it as XML in UTF-8."},
    {"plist-character-replaced", Severity::Warning, Severity::Warning,
     "A binary property list holds half of a UTF-16 pair without the other half.",
     "The browser shows the replacement mark U+FFFD in its place.",
     "Write the text again with whole characters, or save the list as XML."},
    {"wrong-type", Severity::Error, Severity::Error, "A value of another type than the browser reads at that place.",
     "The value is ignored: a language, folder or address is missing.",
     "Write the value with the type the browser reads (an array of strings for \"Language\")."},
    {"path-not-absolute", Severity::Error, Severity::Error,
     "A path in the lists is not a full path; the browser does not resolve it.", "The file or folder is not found.",
     "Write the full path, as the Mac mounts the disc (/Volumes/NAME/...)."},
    {"model-without-modelinfo", Severity::Error, Severity::Warning, "A contained model has no ModelInfo record.",
     "The model's online page opens without the model.", "Add the model's record with its \"KPSID\" to ModelInfo."},
    {"model-without-kpsid", Severity::Error, Severity::Error, "A ModelInfo record has no \"KPSID\".",
     "The model shows no languages: its whole documentation list is lost.", "Add \"KPSID\" to the record."},
    {"address-needs-encoding", Severity::Warning, Severity::Warning,
     "A \"KPSID\" or \"KPS Code\" holds characters that an address carries percent-encoded (anything but letters, "
     "digits and -._~).",
     "The browser puts the value into the online address as it is; the support site may read it otherwise.",
     "Use only letters, digits and -._~ in the value."},
    {"model-without-documentation", Severity::Error, Severity::Error,
     "A model has no documentation on the disc or online.", "The model shows no languages, and the buttons do nothing.",
     "Give it a documentation folder, or an online address with languages."},
    {"model-names-differ-in-case", Severity::Warning, Severity::Warning, "Two model names differ only in letter case.",
     "Their order in the model list may change from run to run.", "Name the models apart."},
    {"documentation-folder-missing", Severity::Error, Severity::Error, "A \"Path\" names no readable folder.",
     "Its models offer only their online languages, or nothing.", "Correct the \"Path\" or add the folder."},
    {"documentation-folder-empty", Severity::Warning, Severity::Warning,
     "A \"Path\" folder holds no language folder that Documentation.plist names.",
     "Its models offer only their online languages, or nothing.",
     "Name the language folders as the \"Folder Name\" entries do."},
    {"language-folder-unnamed", Severity::Warning, Severity::Warning,
     "A language folder that no \"Folder Name\" names.", "The language is not offered.",
     "Rename the folder, or add its language to Documentation.plist."},
    {"language-folder-case", Severity::Error, Severity::Error,
     "A language folder differs from a \"Folder Name\" only in letter case.", "The language is not offered.",
     "Rename the folder as the \"Folder Name\" writes it."},
    {"start-document-case", Severity::Warning, Severity::Warning,
     "A language folder holds its start document under another letter case (\"Top.pdf\").",
     "A Mac reading the disc's case-insensitive volume opens it; on a case-sensitive volume the button opens "
     "nothing.",
     "Name it exactly top.pdf or top.html."},
    {"start-document-missing", Severity::Error, Severity::Error,
     "A language folder has neither \"top.pdf\" nor \"top.html\".",
     "The documentation button opens nothing for that language.", "Add top.pdf or top.html, named in lower case."},
    {"document-empty", Severity::Error, Severity::Error, "A start document or read-me file is empty.",
     "An empty document opens.", "Put the real document on the disc."},
    {"document-not-a-file", Severity::Error, Severity::Error, "A start document or read-me is a folder.",
     "The button opens a folder.", "Replace the folder with the document."},
    {"document-unreadable", Severity::Error, Severity::Error,
     "A start document or read-me cannot be read (no permission, a link that leads nowhere).",
     "The document or read-me does not open.", "Make the file readable, or correct the link."},
    {"document-not-pdf", Severity::Error, Severity::Error, "A \"top.pdf\" does not begin with %PDF-.",
     "The reader refuses the document.", "Put a real PDF file there."},
    {"document-not-html", Severity::Warning, Severity::Warning, "A \"top.html\" does not begin with a tag.",
     "The web browser may show it as text.", "Put a real HTML file there."},
    {"readme-not-rtf", Severity::Error, Severity::Error, "A \"MacOS_X_readme.rtf\" does not begin with {\\rtf.",
     "The read-me opens as garbage.", "Save the read-me as RTF."},
    {"readme-missing", Severity::Warning, Severity::Warning,
     "A language folder lacks \"MacOS_X_readme.rtf\" while others beside it have one.",
     "The read-me button does nothing for that language.", "Add the read-me, named exactly MacOS_X_readme.rtf."},
    {"online-language-unknown", Severity::Warning, Severity::Warning,
     "A \"Language\" entry that no \"Folder Name\" names.", "The language is never offered online.",
     "Write the entry as its \"Folder Name\" is written."},
    {"url-without-separator", Severity::Error, Severity::Error, "A \"URL\" that does not end in \"?\" or \"&\".",
     "The online page opens at a wrong address.", "End the address with \"?\" (or \"&\")."},
    {"folder-name-space", Severity::Warning, Severity::Warning, "A \"Folder Name\" starts or ends with a space.",
     "The language is offered only where the language folder and the \"Language\" entries carry the same "
     "space; usually it is missing.",
     "Remove the space from the \"Folder Name\"."},
    {"folder-name-duplicate", Severity::Warning, Severity::Warning,
     "A \"Folder Name\" is listed twice in Documentation.plist.", "The language is offered twice.",
     "Remove the second member."},
    {"member-without-folder-name", Severity::Warning, Severity::Warning,
     "A Documentation.plist member has no \"Folder Name\".", "The language is never offered.",
     "Add its \"Folder Name\"."},
    {"member-without-display-name", Severity::Error, Severity::Error,
     "A Documentation.plist member has no \"Display Name\".", "The language's entries hold nothing: it shows no name.",
     "Add its \"Display Name\"."},
    {"member-without-kps-code", Severity::Error, Severity::Error, "A Documentation.plist member has no \"KPS Code\".",
     "The language is never chosen automatically, and has no online address.", "Add its \"KPS Code\"."},
    {"message-bundle-missing", Severity::Error, Severity::Error,
     "No common message bundle, or one without localizations.", "Every caption, label and menu item shows its key.",
     "Put CDCommonMessage.bundle in MacResources."},
    {"message-bundle-beside-app", Severity::Note, Severity::Note,
     "The message bundle was not where the browser looks; the one on the disc was checked.",
     "Nothing, once the disc is mounted where the browser looks.", "Nothing to fix when the disc is pressed."},
    {"strings-unreadable", Severity::Error, Severity::Error, "A strings table cannot be read; the line where it stops.",
     "Every text of that localization shows its key.", "Repair the table at the line given (a missing ; or quote)."},
    {"message-key-missing", Severity::Error, Severity::Error,
     "A key of the browser's texts is missing in one localization.",
     "The window shows the key, or a default, instead of the text.", "Add the key to that Localizable.strings."},
    {"language-code-unknown", Severity::Warning, Severity::Warning, "A \"KPS_CGI_Language\" that no \"KPS Code\" has.",
     "The language is never chosen automatically.", "Use a \"KPS Code\" of Documentation.plist."},
    {"localization-without-table", Severity::Error, Severity::Warning,
     "A localization folder without Localizable.strings.", "Users of that language see the keys.",
     "Add the table, or remove the folder."},
    {"localization-shadowed", Severity::Note, Severity::Note,
     "A localization that users never get, since another folder serves its language.",
     "Nothing: its texts are never shown.", "Remove one of the two folders."},
    {"infoplist-key-missing", Severity::Error, Severity::Warning, "The application's InfoPlist table lacks a key.",
     "The application's name or its menu shows a default.", "Add the key to InfoPlist.strings."},
    {"picture-refused", Severity::Error, Severity::Error,
     "The window's \"Background.png\" or the icon that \"CFBundleIconFile\" names is there but the browser refuses it "
     "(not a regular file, past the picture limits, or no PNG).",
     "The window shows white, or goes without its icon.", "Save the picture as a PNG within the limits."},
    {"window-description-broken", Severity::Error, Severity::Error,
     "The window description that Info.plist names (\"NSMainNibFile\") does not load.", "The browser shows no window.",
     "Repair the window description: nesting, font sizes and frames within bounds, a regular file."},
    {"windows-folder-missing", Severity::Error, Severity::Error, "The Windows folder does not exist.",
     "The Windows programs are missing.", "Give the right folder with --windows."},
    {"launcher-ini-unreadable", Severity::Error, Severity::Error,
     "An inst.ini that is not a regular file (a folder, a named pipe, a device) or is larger than 4 MiB.",
     "Every setup launcher starts nothing.", "Make inst.ini a small regular text file."},
    {"launcher-without-section", Severity::Error, Severity::Error,
     "A setup launcher copy finds no section of its name in inst.ini.", "Double-clicking the launcher starts nothing.",
     "Add a section named after the launcher to inst.ini."},
    {"launcher-program-missing", Severity::Error, Severity::Error,
     "A section's \"Exeprog\" is missing, empty, or names no file in the folder.",
     "Double-clicking the launcher starts nothing.", "Name the program beside the launcher in \"Exeprog\"."},
    {"launcher-program-elsewhere", Severity::Note, Severity::Note,
     "An \"Exeprog\" outside the folder (a drive or root path), not checked.",
     "The launcher starts it only where that path exists.", "Prefer a program on the disc."},
    {"launcher-value-too-long", Severity::Error, Severity::Error,
     "An \"Exeprog\" over 259 or an \"Argv\" over 999 characters.",
     "The launcher cuts the value and starts the wrong thing.", "Shorten the value."},
    {"supplies-model-unknown", Severity::Error, Severity::Error,
     "A vps_ copy whose model name is not a contained model.",
     "The supplies page opens for a model the disc does not list.", "Rename the copy after its model."},
    {"supplies-model-too-long", Severity::Error, Severity::Error, "A vps_ model name over 127 characters.",
     "The supplies page opens with the name cut.", "Shorten the model name."},
    {"window-without-models", Severity::Error, Severity::Error, "render drew windows that list no model.",
     "An empty model list: the user can open no documentation.",
     "Run check on the disc: it names the list or key that is missing."},
    {"text-does-not-fit", Severity::Error, Severity::Error,
     "A text of the window is cut off, out of the window, or over another control.",
     "The text is cut, or hides another control.", "Shorten the text in that localization."},
    {"volume-name-differs", Severity::Error, Severity::Warning,
     "The disc's lists name a "
     "volume other than ZORVANE (or its folder, pressed as a volume of its own name, is not named ZORVANE), while "
     "the browser reads its texts from /Volumes/ZORVANE/MacResources/CDCommonMessage.bundle alone.",
     "Every caption, label and menu item shows its key (UG_TXT_LANGUAGE, UG_BTN_README); the model label reads "
     "\"Model\".",
     "Name the disc ZORVANE: write the disc folder as ZORVANE (docshelf-press init --out DIR/ZORVANE) so that "
     "the lists name /Volumes/ZORVANE."},
    {"app-bundle-broken", Severity::Error, Severity::Error,
     "An application bundle in the disc folder that a Mac cannot start: no Contents/Info.plist, one "
     "that is a folder or no property list, no \"CFBundleExecutable\", or no program in Contents/MacOS.",
     "Double-clicking the application does nothing: no window.", "Copy a complete application bundle onto the disc."},
    {"app-bundle-missing", Severity::Warning, Severity::Warning,
     "The disc folder holds no application bundle; the check read it with the bundle built beside the "
     "inspector.",
     "A disc pressed from the folder as it is has no application to open.",
     "Copy the application bundle into the disc folder (docshelf-press init does), or give it with --app."},
    {"app-not-for-mac", Severity::Warning, Severity::Warning,
     "The application's program is not a Mac program (the bundle built on Linux "
     "carries an ELF program).",
     "On a Mac the application does not start.",
     "Build the bundle on a Mac (README, \"Building on a Mac\") and give it to docshelf-press init with --app."},
    {"html-link-missing", Severity::Error, Severity::Error,
     "A relative link (href) or picture (src) of an HTML start document, or of a page it leads to, names "
     "a file that is not in the documentation folder.",
     "The link leads nowhere, or the picture shows broken.", "Add the file, or correct the link."},
    {"html-link-case", Severity::Warning, Severity::Warning,
     "A link or picture of an HTML manual names a file that exists only in another letter case.",
     "On a Mac and on Windows it opens; on a case-sensitive volume (Linux) it does not.",
     "Write the link in the file's own letter case."},
    {"html-links-cut", Severity::Note, Severity::Note,
     "The HTML manuals hold more links (4,000) or pages (64 MiB) than one check follows; the rest were "
     "not checked.",
     "Nothing by itself.", "Check the remaining pages with a link checker."},
    {"launcher-64-bit", Severity::Warning, Severity::Warning,
     "A launcher in the Windows folder (a setup launcher copy or vps_MODEL.exe) is a 64-bit program: a "
     "twin built for testing.",
     "32-bit Windows does not start it; such a disc is never for shipping.",
     "Take the launchers of build/win32 (docshelf-press init --windows-programs)."},
    {"display-name-duplicate", Severity::Error, Severity::Error,
     "Two Documentation.plist members with different \"Folder Name\" share one \"Display Name\"; the "
     "browser finds a chosen language by that name alone.",
     "Choosing the second opens the first one's document and read-me, or its online page.",
     "Give each language a name of its own."},
    {"display-name-empty", Severity::Warning, Severity::Warning,
     "A Documentation.plist member whose \"Display Name\" is empty.",
     "The language pop-up shows an item without a title.", "Write the language's name."},
    {"url-not-web-address", Severity::Error, Severity::Error,
     "A \"URL\" that does not begin with http:// or https://, or holds a space, quote or control "
     "character, or a \"#\" (the appended query would become a fragment).",
     "\"open\" takes the address for a file and the online page does not open, or it opens without its model "
     "and language.",
     "Write the full address, http://host/path?, without spaces (percent-encode them) or a fragment."},
    {"online-language-duplicate", Severity::Warning, Severity::Warning, "A \"Language\" list names one language twice.",
     "The language pop-up offers the language twice.", "Remove the second entry."},
    {"kpsid-empty", Severity::Warning, Severity::Warning, "A model documented online has an empty \"KPSID\".",
     "Its online pages open with \"MDL=\" and no model.", "Write the model's identifier."},
    {"kpsid-shared", Severity::Warning, Severity::Warning, "Two models documented online have the same \"KPSID\".",
     "Both open the same online pages.", "Give each model its own identifier."},
    {"kps-code-empty", Severity::Warning, Severity::Warning,
     "A Documentation.plist member whose \"KPS Code\" is empty.",
     "Its online pages open with \"LNG=\" and no language; the language is never chosen automatically.",
     "Write the language's code at the support service."},
    {"model-name-blank", Severity::Warning, Severity::Warning,
     "A model name that is empty, or begins or ends with a space or control character.",
     "The model pop-up shows an item without a title, or a name set off by spaces.",
     "Write the name without them, in CDInfo and ModelInfo alike."},
    {"message-text-empty", Severity::Warning, Severity::Warning,
     "A text of the common message bundle that is empty or only spaces.",
     "The button, label or menu item it names shows nothing.", "Write the text in that Localizable.strings."},
};

class Codes {
public:
    static std::span<const Code> all() { return codeList; }
    // Null for a code that does not exist.
    static const Code* find(std::string_view code);
};

// A code of the list, looked up when the program is compiled: a rule cannot
// report a code that --explain, --ignore and SARIF do not know.
class CodeName {
public:
    consteval CodeName(const char* text) : code_(lookUp(text)) {}

    const Code& code() const { return *code_; }

private:
    static consteval const Code* lookUp(std::string_view text) {
        for (const Code& code : codeList)
            if (code.code == text)
                return &code;
        throw "a code that is not in the list";
    }

    const Code* code_;
};

}
