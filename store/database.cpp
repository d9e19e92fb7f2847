#include "store/database.h"

#include <sqlite3.h>

#include <climits>
#include <string>
#include <utility>

#include "core/errors.h"
#include "core/file_io.h"

namespace zs {

namespace {

// The file of a connection, for messages.
std::string FileName(sqlite3* db) {
  const char* name = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
  return name != nullptr && *name != '\0' ? name : "内存中的数据库";
}

// Throws for the failed call's result code `rc`: the user's words naming the
// file, then SQLite's `detail` (and the system's reason where there is one).
[[noreturn]] void Fail(sqlite3* db, int rc, std::string_view detail) {
  const int primary = rc & 0xff;
  if (primary == SQLITE_BUSY) throw HistoryBusyError();
  const std::string file = FileName(db);
  std::string message;
  switch (primary) {
    case SQLITE_FULL:
      message = "磁盘已满，无法写入 " + file;
      break;
    case SQLITE_READONLY:
      message = file + " 只能读取，不能写入";
      break;
    case SQLITE_IOERR:
      message = "读写 " + file + " 时出错";
      break;
    case SQLITE_CORRUPT:
      message = file + " 已损坏";
      break;
    case SQLITE_NOTADB:
      message = file + " 不是数据库文件";
      break;
    case SQLITE_CANTOPEN:
      message = "无法打开 " + file;
      break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      message = "没有权限访问 " + file;
      break;
    case SQLITE_NOMEM:
      message = "内存不足，无法访问 " + file;
      break;
    default:
      message = "数据库 " + file + " 操作失败";
  }
  message += "（";
  const int systemError = db != nullptr ? sqlite3_system_errno(db) : 0;
  if (systemError != 0 && (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR)) {
    message += FileErrorReason(systemError) + "；";
  }
  message += detail;
  message += "）";
  throw StoreError(message);
}

void Check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK) Fail(db, rc, sqlite3_errmsg(db));
}

// A connection belongs to one thread at a time, so SQLite's per-call locking
// (a noticeable share of a bulk insert) is left out.
sqlite3* OpenHandle(const std::string& name, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_EXRESCODE, nullptr);
  if (rc != SQLITE_OK) {
    if (db == nullptr) throw StoreError("内存不足，无法打开 " + name);
    const std::string detail = sqlite3_errmsg(db);
    const int systemError = sqlite3_system_errno(db);
    sqlite3_close(db);
    std::string message = "无法打开 " + name + "（";
    if (systemError != 0) message += FileErrorReason(systemError) + "；";
    throw StoreError(message + detail + "）");
  }
  // A second connection (another instance of the program) waits for a
  // writer, and a reader for a writer's commit, instead of failing at once.
  sqlite3_busy_timeout(db, 5000);
  return db;
}

// SQLite binds a null pointer as NULL; an empty text must stay a text.
const char* NonNull(std::string_view text) { return text.data() != nullptr ? text.data() : ""; }

}  // namespace

Database Database::OpenFile(const std::filesystem::path& file) {
  return Database(
      OpenHandle(file.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX));
}

Database Database::OpenFileForReading(const std::filesystem::path& file) {
  return Database(OpenHandle(file.string(), SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX));
}

Database Database::OpenMemory() {
  return Database(
      OpenHandle(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX));
}

Database::Database(Database&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    sqlite3_close_v2(db_);
    db_ = std::exchange(other.db_, nullptr);
  }
  return *this;
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::Execute(std::string_view sql) {
  const std::string text(sql);
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    const std::string detail = error != nullptr ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    Fail(db_, rc, detail);
  }
}

Statement Database::Prepare(std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sql.size() > INT_MAX) throw StoreError("数据库语句过长");
  Check(db_, sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
  return Statement(db_, stmt);
}

int64_t Database::Changes() const { return sqlite3_changes64(db_); }

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    db_ = std::exchange(other.db_, nullptr);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Bind(int index, int64_t value) {
  Check(db_, sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, double value) {
  Check(db_, sqlite3_bind_double(stmt_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  // SQLITE_TRANSIENT: the caller's buffer need not outlive the binding.
  Check(db_, sqlite3_bind_text64(stmt_, index, NonNull(text), text.size(), SQLITE_TRANSIENT,
                                 SQLITE_UTF8));
  return *this;
}

Statement& Statement::BindUncopied(int index, std::string_view text) {
  Check(db_,
        sqlite3_bind_text64(stmt_, index, NonNull(text), text.size(), SQLITE_STATIC, SQLITE_UTF8));
  return *this;
}

Statement& Statement::BindBlobUncopied(int index, std::string_view bytes) {
  Check(db_, sqlite3_bind_blob64(stmt_, index, NonNull(bytes), bytes.size(), SQLITE_STATIC));
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // Reset so the statement can run again; the error stays in the message.
  const std::string detail = sqlite3_errmsg(db_);
  sqlite3_reset(stmt_);
  Fail(db_, rc, detail);
}

void Statement::Run() {
  while (Step()) {
  }
  // The bindings stay: a caller that rebinds every parameter of a reused
  // statement need not pay for clearing them.
  sqlite3_reset(stmt_);
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::Real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string_view Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (text == nullptr) return {};
  return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::string_view Statement::Blob(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
  if (bytes == nullptr) return {};
  return std::string_view(bytes, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool Database::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

bool Database::ReadOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

Transaction::Transaction(Database& db, Kind kind) : db_(db) {
  if (kind == Kind::kRead && db_.InTransaction()) return;
  db_.Execute(kind == Kind::kWrite ? "BEGIN IMMEDIATE" : "BEGIN");
  open_ = true;
}

Transaction::~Transaction() {
  if (!open_) return;
  // A failed rollback cannot be reported from a destructor; SQLite then
  // rolls the transaction back when the connection closes.
  sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  if (!open_) return;
  db_.Execute("COMMIT");
  open_ = false;
}

}  // namespace zs
