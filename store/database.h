// A small RAII wrapper over SQLite: a connection, prepared statements with
// bound parameters, and transaction guards that end what they began.
// Every failure throws StoreError in the user's words, naming the database
// file, with SQLite's own text after it; a database another connection
// keeps locked beyond the wait throws HistoryBusyError.
#ifndef ZEPHYRSTAT_STORE_DATABASE_H_
#define ZEPHYRSTAT_STORE_DATABASE_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zs {

// What a program that finds the history busy is told, after a short wait.
inline constexpr const char* kHistoryBusyMessage = "历史号码正由另一个程序修改，请稍后再试";

// Another program holds the database (or the folder's writer lock) longer
// than the wait; nothing was read or changed. The message is
// kHistoryBusyMessage.
class HistoryBusyError : public StoreError {
 public:
  HistoryBusyError() : StoreError(kHistoryBusyMessage) {}
};

class Statement;

class Database {
 public:
  // Opens (creating when absent) a database file. A file that cannot be
  // written opens for reading only (see ReadOnly()).
  static Database OpenFile(const std::filesystem::path& file);
  // Opens an existing database file for reading only.
  static Database OpenFileForReading(const std::filesystem::path& file);
  static Database OpenMemory();

  Database(Database&& other) noexcept;
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Runs one or more statements that take no parameters.
  void Execute(std::string_view sql);
  Statement Prepare(std::string_view sql);
  int64_t Changes() const;
  // Whether a transaction is open on the connection.
  bool InTransaction() const;
  // Whether the connection can only read the file.
  bool ReadOnly() const;
  sqlite3* handle() const { return db_; }

 private:
  explicit Database(sqlite3* db) : db_(db) {}
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // Parameters are numbered from 1.
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::string_view text);
  // Like Bind(), without a copy of the text, for bulk writes: `text` must
  // stay valid and unchanged until the statement has run with this binding.
  Statement& BindUncopied(int index, std::string_view text);
  // Binds `bytes` as a blob without a copy; the same lifetime rule as
  // BindUncopied().
  Statement& BindBlobUncopied(int index, std::string_view bytes);

  // Advances to the next row; false when there is none.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();
  // Makes the statement ready to run again with new bindings.
  void Reset();

  // Columns are numbered from 0.
  int64_t Int(int column) const;
  double Real(int column) const;
  std::string_view Text(int column) const;
  // The bytes of a blob column; valid until the next Step() or Reset().
  std::string_view Blob(int column) const;
  bool IsNull(int column) const;

 private:
  friend class Database;
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

// A transaction on the connection, ended in the destructor by a ROLLBACK
// unless Commit() ran, so an exception leaves the database as it was.
class Transaction {
 public:
  enum class Kind {
    // BEGIN IMMEDIATE: the write lock is taken at once. Throws inside a
    // transaction already open on the connection.
    kWrite,
    // A read that sees one committed state of the database throughout:
    // BEGIN (deferred). Inside a transaction already open on the connection
    // it does nothing, as that one holds the state. Another connection's
    // commit waits until it ends; nothing was written, so the rollback that
    // ends it loses nothing.
    kRead,
  };

  explicit Transaction(Database& db, Kind kind = Kind::kWrite);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = false;  // begun by this object and not yet ended
};

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_DATABASE_H_
