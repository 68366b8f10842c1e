#pragma once

#include <string>
#include <utility>

namespace core {

// Finds the functions of an opened library by name; the first that is missing, or any other reason
// given, is remembered as the failure.
class LibrarySymbols {
public:
    LibrarySymbols(void* library, std::string fileName)
        : m_library(library)
        , m_fileName(std::move(fileName)) {}

    template <class Function> void find(const char* name, Function& function) {
        function = reinterpret_cast<Function>(lookUp(name));
    }
    void fail(std::string why) {
        if (m_failure.empty())
            m_failure = std::move(why);
    }
    bool ok() const { return m_failure.empty(); }
    const std::string& failure() const { return m_failure; }

private:
    void* lookUp(const char* name);

    void* m_library;
    std::string m_fileName;
    std::string m_failure;
};

// A table of a library's functions, or why it could not be filled.
template <class Table> struct LoadedLibrary {
    Table table{};
    std::string failure; // empty once the table is whole

    const Table* get() const { return failure.empty() ? &table : nullptr; }
};

// Opens `fileName` (named with its ABI version, as the runtime package installs it), bound lazily
// as a linked library is, and never closed: what it starts may run until the process ends. Then
// `fill(symbols, table)` finds the table's functions. For a library opened when first needed rather
// than with the program, so that launches that never need it do not pay for loading it.
void* openLibrary(const std::string& fileName, std::string& failure);

template <class Table, class Fill>
LoadedLibrary<Table> loadLibrary(const std::string& fileName, Fill&& fill) {
    LoadedLibrary<Table> loaded;
    void* library = openLibrary(fileName, loaded.failure);
    if (!library)
        return loaded;
    LibrarySymbols symbols(library, fileName);
    fill(symbols, loaded.table);
    loaded.failure = symbols.failure();
    return loaded;
}

} // namespace core
