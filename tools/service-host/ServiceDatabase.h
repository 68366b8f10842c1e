#pragma once

#include "platform/core/Result.h"

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace zm {

struct ServiceDatabaseClose {
    void operator()(sqlite3* connection) const;
};
// The SQLite file a stand-in service keeps what it receives in, closed when it goes.
using ServiceDatabase = std::unique_ptr<sqlite3, ServiceDatabaseClose>;

// Opens or makes the file at `path` (":memory:" for none) and sets up `schema` in it; another
// writer is waited for up to 5 s. Errors are named after `program`.
core::Result<ServiceDatabase> openServiceDatabase(const std::string& program, const std::string& path, const char* schema);

// One prepared statement, finalized when it goes.
class ServiceStatement {
public:
    ServiceStatement(const ServiceDatabase& database, const char* sql);
    ~ServiceStatement();
    ServiceStatement(const ServiceStatement&) = delete;
    ServiceStatement& operator=(const ServiceStatement&) = delete;

    ServiceStatement& bind(int index, const std::string& text);
    ServiceStatement& bindBlob(int index, const std::string& bytes);
    ServiceStatement& bind(int index, int64_t number);
    ServiceStatement& bind(int index, double number);
    // True while a row is there.
    bool step();

    std::string text(int column) const;
    int64_t integer(int column) const;
    double real(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace zm
