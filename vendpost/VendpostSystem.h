#pragma once

namespace vendpost {

enum class LocaleItem { AbbreviatedCountryName, AbbreviatedLanguageName };

// The Windows calls the launcher makes, one entry each, so that the whole flow
// runs against the real system in Vendpost.exe and against a scripted one in tests.
// Every entry gets context as its first argument.
struct VendpostSystem {
    using Key = void*;
    using Handle = void*;

    void* context = nullptr;
    // GetModuleFileNameA for the program's own file: the length copied, 0 on failure.
    unsigned long (*moduleFileName)(void* context, char* path, unsigned long size) = nullptr;
    // GetLocaleInfoA of LOCALE_USER_DEFAULT: the bytes written, 0 on failure.
    int (*localeInfo)(void* context, LocaleItem item, char* text, int size) = nullptr;
    // RegOpenKeyA under HKEY_CLASSES_ROOT: 0 on success.
    long (*openClassesRootKey)(void* context, const char* subKey, Key* key) = nullptr;
    // RegQueryValueExA of the key's default value: 0 on success, size then the bytes stored.
    long (*queryDefaultValue)(void* context, Key key, char* data, unsigned long* size) = nullptr;
    long (*closeKey)(void* context, Key key) = nullptr;
    // OpenFile with OF_EXIST: true unless it gives HFILE_ERROR.
    bool (*fileExists)(void* context, const char* path) = nullptr;
    // CreateProcessA with the launcher's own start-up information, environment and
    // current directory, inheriting no handles: true on success.
    bool (*createProcess)(void* context, const char* application, char* commandLine, Handle* process,
                          Handle* thread) = nullptr;
    int (*closeHandle)(void* context, Handle handle) = nullptr;
};

}
