#pragma once

#include <string_view>

// The keys of the disc's property lists and of the catalogue's dictionaries,
// declared once and shared by the catalogue, the window and the disc tools.
namespace docshelf::keys {

// Info.plist of the application.
inline constexpr std::string_view commonResourcePath = "CommonResourcePath";

// Common resource property list.
inline constexpr std::string_view cdInfo = "CDInfo";
inline constexpr std::string_view modelInfo = "ModelInfo";

// CDInfo property list and its model records.
inline constexpr std::string_view containedModel = "ContainedModel";
inline constexpr std::string_view documentation = "Documentation";
inline constexpr std::string_view path = "Path";
inline constexpr std::string_view url = "URL";
inline constexpr std::string_view language = "Language";

// ModelInfo property list.
inline constexpr std::string_view model = "Model";
inline constexpr std::string_view kpsID = "KPSID";

// Documentation.plist in the application's resources.
inline constexpr std::string_view folderInfoArray = "FolderInfoArray";
inline constexpr std::string_view folderName = "Folder Name";
inline constexpr std::string_view displayName = "Display Name";
inline constexpr std::string_view kpsCode = "KPS Code";

// CD information dictionary.
inline constexpr std::string_view containedModels = "contained models";

// Model documentation dictionary.
inline constexpr std::string_view name = "name";
inline constexpr std::string_view kpsModelID = "KPS model ID";
inline constexpr std::string_view documentationList = "Documentation list";

// Documentation entry. "docuemntation" is how discs and callers spell it.
inline constexpr std::string_view documentationDisplayName = "documentation display name";
inline constexpr std::string_view documentationPath = "documentation path";
inline constexpr std::string_view documentationReadmePath = "documentation readme path";
inline constexpr std::string_view documentationLanguageCode = "KPS docuemntation language code";
inline constexpr std::string_view documentationURL = "KPS docuemntation URL";

// The online support address: first part, model identifier, language code.
inline constexpr std::string_view onlineAddressFormat = "%@MDL=%@&LNG=%@&SRC=DOC";

}

// The names of the disc's files and folders, and where they lie.
namespace docshelf::names {

// In the application bundle's resources.
inline constexpr std::string_view documentationPlist = "Documentation.plist";
inline constexpr std::string_view backgroundPicture = "Background.png";

// In a language folder of a documentation directory: the start document, PDF
// before HTML, and the read-me.
inline constexpr std::string_view startPdf = "top.pdf";
inline constexpr std::string_view startHtml = "top.html";
inline constexpr std::string_view readMe = "MacOS_X_readme.rtf";

// A language folder's path under a documentation directory, and a file's under
// that: the directory, "/", the name, joined and never normalised.
inline constexpr std::string_view inFolderFormat = "%@/%@";
inline constexpr std::string_view inLanguageFolderFormat = "%@/%@/%@";

// In the disc's Windows folder.
inline constexpr std::string_view setupIni = "inst.ini";
inline constexpr std::string_view suppliesPrefix = "vps_";
inline constexpr std::string_view exeprog = "Exeprog";
inline constexpr std::string_view argv = "Argv";

}
