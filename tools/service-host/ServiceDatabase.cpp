#include "tools/service-host/ServiceDatabase.h"

#include <sqlite3.h>

namespace zm {

void ServiceDatabaseClose::operator()(sqlite3* connection) const {
    sqlite3_close(connection);
}

core::Result<ServiceDatabase> openServiceDatabase(const std::string& program, const std::string& path, const char* schema) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open(path.c_str(), &opened);
    ServiceDatabase database(opened);
    if (status != SQLITE_OK) {
        return core::Error{program, 1,
                           "cannot open " + path + ": " + (database ? sqlite3_errmsg(database.get()) : "out of memory"),
                           {}};
    }
    sqlite3_busy_timeout(database.get(), 5000);
    char* error = nullptr;
    if (sqlite3_exec(database.get(), schema, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        return core::Error{program, 2, path + " is not a store of the service: " + message, {}};
    }
    return database;
}

ServiceStatement::ServiceStatement(const ServiceDatabase& database, const char* sql) {
    sqlite3_prepare_v2(database.get(), sql, -1, &m_statement, nullptr);
}

ServiceStatement::~ServiceStatement() {
    sqlite3_finalize(m_statement);
}

ServiceStatement& ServiceStatement::bind(int index, const std::string& text) {
    sqlite3_bind_text(m_statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

ServiceStatement& ServiceStatement::bindBlob(int index, const std::string& bytes) {
    sqlite3_bind_blob(m_statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

ServiceStatement& ServiceStatement::bind(int index, int64_t number) {
    sqlite3_bind_int64(m_statement, index, number);
    return *this;
}

ServiceStatement& ServiceStatement::bind(int index, double number) {
    sqlite3_bind_double(m_statement, index, number);
    return *this;
}

bool ServiceStatement::step() {
    return m_statement && sqlite3_step(m_statement) == SQLITE_ROW;
}

std::string ServiceStatement::text(int column) const {
    const auto* text = sqlite3_column_text(m_statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

int64_t ServiceStatement::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double ServiceStatement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

} // namespace zm
