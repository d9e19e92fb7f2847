#include "store/database.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/errors.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using ::testing::HasSubstr;

class DatabaseTest : public ::testing::Test {
 protected:
  DatabaseTest() : db_(Database::OpenMemory()) {
    db_.Execute("CREATE TABLE t (i INTEGER, r REAL, s TEXT UNIQUE)");
  }

  int64_t RowCount() {
    Statement count = db_.Prepare("SELECT count(*) FROM t");
    EXPECT_TRUE(count.Step());
    return count.Int(0);
  }

  Database db_;
};

TEST_F(DatabaseTest, BoundValuesComeBackUnchanged) {
  Statement insert = db_.Prepare("INSERT INTO t VALUES (?1, ?2, ?3)");
  insert.Bind(1, int64_t{-2147483648LL}).Bind(2, 0.8333333).Bind(3, "鼠 it's \"quoted\"");
  insert.Run();
  db_.Prepare("INSERT INTO t (i) VALUES (?1)").Bind(1, int64_t{5000000000LL}).Run();

  Statement select = db_.Prepare("SELECT i, r, s FROM t ORDER BY rowid");
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Int(0), -2147483648LL);
  EXPECT_DOUBLE_EQ(select.Real(1), 0.8333333);
  EXPECT_EQ(select.Text(2), "鼠 it's \"quoted\"");
  EXPECT_FALSE(select.IsNull(2));
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Int(0), 5000000000LL);
  EXPECT_TRUE(select.IsNull(1));
  EXPECT_TRUE(select.IsNull(2));
  EXPECT_EQ(select.Text(2), "");
  EXPECT_FALSE(select.Step());
}

TEST_F(DatabaseTest, TextWithEmbeddedZeroKeepsItsLength) {
  const std::string text("a\0b", 3);
  db_.Prepare("INSERT INTO t (s) VALUES (?1)").Bind(1, text).Run();
  Statement select = db_.Prepare("SELECT s FROM t");
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Text(0), text);
}

TEST_F(DatabaseTest, EmptyTextIsATextNotNull) {
  Statement type = db_.Prepare("SELECT typeof(?1), typeof(?2)");
  type.Bind(1, std::string_view()).BindUncopied(2, std::string_view());
  ASSERT_TRUE(type.Step());
  EXPECT_EQ(type.Text(0), "text");
  EXPECT_EQ(type.Text(1), "text");
}

TEST_F(DatabaseTest, UncopiedTextIsStoredAsItWasWhenRun) {
  std::string text = "1X03 ";
  Statement insert = db_.Prepare("INSERT INTO t (s) VALUES (?1)");
  insert.BindUncopied(1, text).Run();
  text = "2X04 ";
  insert.BindUncopied(1, text).Run();
  Statement select = db_.Prepare("SELECT group_concat(s, '|') FROM t");
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Text(0), "1X03 |2X04 ");
}

TEST_F(DatabaseTest, ReusedStatementTakesNewBindings) {
  Statement insert = db_.Prepare("INSERT INTO t (i, s) VALUES (?1, ?2)");
  for (int i = 1; i <= 3; ++i) {
    insert.Bind(1, int64_t{i}).Bind(2, std::to_string(i));
    insert.Run();
    EXPECT_EQ(db_.Changes(), 1);
  }
  Statement sum = db_.Prepare("SELECT sum(i) FROM t WHERE s = ?1");
  sum.Bind(1, "2");
  ASSERT_TRUE(sum.Step());
  EXPECT_EQ(sum.Int(0), 2);
  sum.Reset();
  sum.Bind(1, "3");
  ASSERT_TRUE(sum.Step());
  EXPECT_EQ(sum.Int(0), 3);
}

TEST_F(DatabaseTest, FailuresThrowWithSqliteMessage) {
  EXPECT_THAT([&] { db_.Prepare("SELECT * FROM missing"); },
              ::testing::ThrowsMessage<StoreError>(HasSubstr("no such table: missing")));
  EXPECT_THAT([&] { db_.Execute("INSERT INTO missing VALUES (1)"); },
              ::testing::ThrowsMessage<StoreError>(HasSubstr("no such table: missing")));
  EXPECT_THROW(db_.Prepare("SELEC 1"), StoreError);

  Statement insert = db_.Prepare("INSERT INTO t (s) VALUES (?1)");
  insert.Bind(1, "same").Run();
  insert.Bind(1, "same");
  EXPECT_THAT([&] { insert.Run(); },
              ::testing::ThrowsMessage<StoreError>(HasSubstr("UNIQUE constraint failed")));
  // The failed statement stays usable.
  insert.Bind(1, "other").Run();
  EXPECT_EQ(RowCount(), 2);
}

TEST_F(DatabaseTest, BindingAMissingParameterThrows) {
  Statement select = db_.Prepare("SELECT ?1");
  EXPECT_THROW(select.Bind(2, int64_t{1}), StoreError);
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommitted) {
  {
    Transaction transaction(db_);
    db_.Execute("INSERT INTO t (i) VALUES (1)");
  }
  EXPECT_EQ(RowCount(), 0);

  {
    Transaction transaction(db_);
    db_.Execute("INSERT INTO t (i) VALUES (1)");
    transaction.Commit();
  }
  EXPECT_EQ(RowCount(), 1);

  EXPECT_THROW(
      {
        Transaction transaction(db_);
        db_.Execute("INSERT INTO t (i) VALUES (2)");
        db_.Execute("INSERT INTO missing VALUES (3)");
        transaction.Commit();
      },
      StoreError);
  EXPECT_EQ(RowCount(), 1);
  // The connection is out of the transaction again.
  Transaction next(db_);
  next.Commit();
}

TEST_F(DatabaseTest, TransactionsDoNotNest) {
  Transaction outer(db_);
  EXPECT_THROW(Transaction inner(db_), StoreError);
}

TEST(DatabaseFileTest, CommittedRowsSurviveReopening) {
  testing::TempFolder folder;
  const auto file = folder.path() / "x.db";
  {
    Database db = Database::OpenFile(file);
    db.Execute("CREATE TABLE t (i INTEGER)");
    Transaction transaction(db);
    db.Execute("INSERT INTO t VALUES (7)");
    transaction.Commit();
  }
  Database db = Database::OpenFile(file);
  Statement select = db.Prepare("SELECT i FROM t");
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Int(0), 7);
}

TEST(DatabaseFileTest, OpeningInAMissingFolderThrows) {
  testing::TempFolder folder;
  EXPECT_THAT([&] { Database::OpenFile(folder.path() / "absent" / "x.db"); },
              ::testing::ThrowsMessage<StoreError>(HasSubstr("absent")));
}

// What SQLite and the system report reaches the user in Chinese, naming the
// file, with the system's own words after it.
TEST(DatabaseFileTest, FailuresNameTheFileInTheUsersWords) {
  testing::TempFolder folder;
  const auto file = folder.path() / "x.db";
  const auto loop = folder.path() / "loop";
  std::filesystem::create_symlink(loop, loop);
  Database::OpenFile(file).Execute("CREATE TABLE t (b BLOB)");
  struct Case {
    const char* name;
    std::function<void()> fail;
    std::filesystem::path file;
    const char* reason;
  };
  const Case cases[] = {
      {"disk full",
       [&] {
         Database db = Database::OpenFile(file);
         db.Execute("PRAGMA max_page_count = 3; INSERT INTO t VALUES (zeroblob(100000))");
       },
       file, "磁盘已满"},
      {"read only", [&] { Database::OpenFileForReading(file).Execute("INSERT INTO t VALUES (1)"); },
       file, "只能读取，不能写入"},
      {"link loop", [&] { Database::OpenFile(loop).Execute("CREATE TABLE t (i)"); }, loop,
       "无法打开"},
      {"link loop read", [&] { ReadFileWhole(loop); }, loop, "符号链接层层相套"},
      {"link loop lock", [&] { platform::LockFile lock(loop); }, loop, "符号链接层层相套"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(c.fail, ::testing::ThrowsMessage<StoreError>(
                            ::testing::AllOf(HasSubstr(c.file.string()), HasSubstr(c.reason))))
        << c.name;
  }
}

TEST(DatabaseFileTest, MovedConnectionStaysUsable) {
  Database first = Database::OpenMemory();
  first.Execute("CREATE TABLE t (i INTEGER)");
  Database second = std::move(first);
  second.Execute("INSERT INTO t VALUES (1)");
  EXPECT_EQ(first.handle(), nullptr);
  first = std::move(second);
  EXPECT_EQ(first.Changes(), 1);
}

}  // namespace
}  // namespace zs
