#include "platform/registry_hive.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace webrill::platform {

namespace {

sqlite3* Db(void* database) {
    return static_cast<sqlite3*>(database);
}

std::string Normalised(std::string_view key) {
    std::string path(key);
    while (!path.empty() && path.front() == '\\')
        path.erase(path.begin());
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

// A prepared statement that finalises itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(db));
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& Bind(int index, std::string_view text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, int value) {
        sqlite3_bind_int(statement_, index, value);
        return *this;
    }
    Statement& BindBlob(int index, std::string_view bytes) {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool Step() {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) return true;
        if (result == SQLITE_DONE) return false;
        throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(statement_)));
    }
    int Int(int column) { return sqlite3_column_int(statement_, column); }
    std::string Blob(int column) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return bytes ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                     : std::string();
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

std::string EnvironmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

std::string RegistryHive::FilePath(RegistryHiveName hive) {
    if (hive == RegistryHiveName::LocalMachine) {
        return EnvironmentOr("WEBRILL_REGISTRY_LOCAL_MACHINE", "/var/lib/webrill/local-machine.sqlite");
    }
    const std::string home = EnvironmentOr("HOME", "/tmp");
    const std::string config = EnvironmentOr("XDG_CONFIG_HOME", home + "/.config");
    return EnvironmentOr("WEBRILL_REGISTRY_CURRENT_USER", config + "/webrill/current-user.sqlite");
}

std::unique_ptr<RegistryHive> RegistryHive::OpenFullAccess(RegistryHiveName hive, bool create) {
    const std::string path = FilePath(hive);
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (!exists && !create) return nullptr;
    if (exists && access(path.c_str(), W_OK) != 0) return nullptr;
    if (!exists) std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    std::unique_ptr<RegistryHive> opened(new RegistryHive(db));
    try {
        opened->Execute(
            "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE COLLATE "
            "NOCASE);"
            "CREATE TABLE IF NOT EXISTS reg_values(key_id INTEGER NOT NULL, name TEXT NOT NULL COLLATE "
            "NOCASE,"
            " type INTEGER NOT NULL, data BLOB, PRIMARY KEY(key_id, name));");
    } catch (const std::exception&) {
        return nullptr;  // read-only file system, or not a hive
    }
    return opened;
}

RegistryHive::~RegistryHive() {
    sqlite3_close(Db(database_));
}

void RegistryHive::Execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(Db(database_), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "registry error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

void RegistryHive::Begin() {
    Execute("BEGIN IMMEDIATE");
}

void RegistryHive::Commit() {
    Execute("COMMIT");
}

bool RegistryHive::KeyExists(std::string_view key) {
    const std::string path = Normalised(key);
    if (path.empty()) return true;  // the root key
    Statement query(Db(database_), "SELECT 1 FROM keys WHERE path = ?");
    return query.Bind(1, path).Step();
}

void RegistryHive::CreateKey(std::string_view key) {
    const std::string path = Normalised(key);
    // Every key on the way is made, as the registry does.
    for (size_t slash = 0; !path.empty(); ++slash) {
        slash = path.find('\\', slash);
        Statement insert(Db(database_), "INSERT OR IGNORE INTO keys(path) VALUES(?)");
        insert.Bind(1, path.substr(0, slash)).Step();
        if (slash == std::string::npos) break;
    }
}

std::optional<RegistryValue> RegistryHive::GetValue(std::string_view key, std::string_view name) {
    Statement query(Db(database_),
                    "SELECT v.type, v.data FROM reg_values v JOIN keys k ON k.id = v.key_id"
                    " WHERE k.path = ? AND v.name = ?");
    if (!query.Bind(1, Normalised(key)).Bind(2, name).Step()) return std::nullopt;
    return RegistryValue{static_cast<RegistryValue::Type>(query.Int(0)), query.Blob(1)};
}

void RegistryHive::SetValue(std::string_view key, std::string_view name, const RegistryValue& value) {
    CreateKey(key);
    Statement upsert(Db(database_),
                     "INSERT OR REPLACE INTO reg_values(key_id, name, type, data)"
                     " SELECT id, ?, ?, ? FROM keys WHERE path = ?");
    upsert.Bind(1, name)
        .Bind(2, static_cast<int>(value.ValueType))
        .BindBlob(3, value.Data)
        .Bind(4, Normalised(key))
        .Step();
}

void RegistryHive::DeleteValue(std::string_view key, std::string_view name) {
    Statement remove(
        Db(database_),
        "DELETE FROM reg_values WHERE name = ? AND key_id = (SELECT id FROM keys WHERE path = ?)");
    remove.Bind(1, name).Bind(2, Normalised(key)).Step();
}

}  // namespace webrill::platform
