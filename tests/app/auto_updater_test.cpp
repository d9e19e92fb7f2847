// 自动更新 against a results page served on 127.0.0.1: a tick while another
// command holds the gate waits; a run that brings a draw makes the watch it
// pushed past its threshold fire, named with its 最后遗漏, and a run that
// brings nothing says nothing; failures go to the status line and every
// third in a row doubles the interval until a run succeeds.
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <vector>

#include "analysis/watch_figures.h"
#include "app/auto_updater.h"
#include "tests/support/cli_runner.h"
#include "tests/support/results_server.h"
#include "tests/support/temp_folder.h"
#include "tools/history_generator.h"

namespace zs::testing {

const std::filesystem::path kServerScript =
    std::filesystem::path(ZS_SOURCE_DIR) / "scripts" / "results-server";

void NoSave(const Settings&, SettingKey) {}

class AutoUpdaterTest : public QObject {
  Q_OBJECT

 private:
  // Every draw of 12 to 16 January 2014, 84 a day; the page serves them all,
  // the history holds all but the newest.
  void SetUpHistory(const std::string& url) {
    GeneratorOptions options;
    options.first = {2014, 1, 12};
    options.last = {2014, 1, 16};
    options.drawsPerDay = 84;
    options.threeDigit = false;
    options.missingRate = 0;
    options.springFestivalBreak = false;
    draws_ = GenerateHistory(options);
    folder_ = std::make_unique<TempFolder>();
    WriteFileBytes(*folder_ / "gd.txt", HistoryFileText(draws_, false));
    Settings settings;
    settings.edition = EditionChoice::Of(0);
    settings.resultsUrl = url;
    settings.autoUpdate = true;
    settings.autoUpdateMinutes = 1;
    history_ = History::OpenFolder(folder_->path(), settings);
    history_->store().ReplaceAllDraws(std::vector<Draw>(draws_.begin(), draws_.end() - 1),
                                      DerivationRules::From(settings));
  }

  void StartUpdater() {
    updater_ = std::make_unique<AutoUpdater>(*history_, gate_, NoSave);
    updater_->setToday([] { return Date{2014, 1, 16}; });
    updater_->setMinuteLength(std::chrono::milliseconds(20));
  }

  std::unique_ptr<TempFolder> folder_;
  std::vector<Draw> draws_;
  std::unique_ptr<History> history_;
  CommandGate gate_;
  std::unique_ptr<AutoUpdater> updater_;

 private slots:
  void cleanup() {
    updater_.reset();
    history_.reset();
    folder_.reset();
  }

  void newDrawFiresTheWatchItPushedOverItsThreshold() {
    SetUpHistory("");
    ResultsServer server(kServerScript, *folder_ / "gd.txt");
    QVERIFY(history_->ChangeSetting(SettingKey::kResultsUrl, server.UrlTemplate(), NoSave)
                .settings.resultsUrl == server.UrlTemplate());
    // 第1位 fixed on a number the newest draw does not carry there: its gap
    // grows by one with that draw, just reaching the threshold.
    const Numbers& newest = draws_.back().numbers;
    Watch cold;
    cold.name = "首位冷号";
    cold.freePositions = false;
    cold.chosen[0] = true;
    cold.values[0] = newest[0] % 20 + 1;
    const int64_t last = ComputeWatch(*history_->snapshot()->index, cold, {}).Omissions().last + 1;
    cold.condition.lastAtLeast = last;
    Watch hit = cold;  // carried by the newest draw: its gap closes
    hit.name = "首位热号";
    hit.values[0] = newest[0];
    hit.condition.lastAtLeast = 0;
    history_->AddWatch(hit);
    history_->AddWatch(cold);
    const size_t before = history_->snapshot()->DrawCount();

    std::optional<CommandGate::Pass> other = gate_.Enter(QStringLiteral("读取历史号文本"));
    StartUpdater();
    QSignalSpy added(updater_.get(), &AutoUpdater::drawsAdded);
    QSignalSpy messages(updater_.get(), &AutoUpdater::message);
    QSignalSpy refused(&gate_, &CommandGate::refused);
    QTest::qWait(150);
    QCOMPARE(added.count(), 0);
    QCOMPARE(refused.count(), 0);
    other.reset();

    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 10000);
    QCOMPARE(history_->snapshot()->DrawCount(), before + 1);
    QCOMPARE(messages.count(), 1);
    const QString alert = messages.at(0).at(0).toString();
    QVERIFY2(alert.contains(QStringLiteral("首位冷号")), qPrintable(alert));
    QVERIFY2(alert.contains(QStringLiteral("最后遗漏 %1").arg(last)), qPrintable(alert));
    QVERIFY2(!alert.contains(QStringLiteral("首位热号")), qPrintable(alert));
    QVERIFY(updater_->statusText().startsWith(QStringLiteral("自动更新 开，最后新开奖 ")));

    // The next runs find nothing new and say nothing.
    QTest::qWait(300);
    QCOMPARE(added.count(), 1);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(history_->snapshot()->DrawCount(), before + 1);
  }

  void failuresSlowTheIntervalUntilARunSucceeds() {
    SetUpHistory(UrlTemplateForPort(ClosedPort()));
    StartUpdater();
    std::vector<int> intervals;
    connect(updater_.get(), &AutoUpdater::message, this, [&](const QString& text) {
      QVERIFY2(text.startsWith(QStringLiteral("自动更新失败（")), qPrintable(text));
      intervals.push_back(updater_->currentIntervalMinutes());
    });
    QTRY_VERIFY_WITH_TIMEOUT(intervals.size() >= 6, 20000);
    QCOMPARE(std::vector<int>(intervals.begin(), intervals.begin() + 6),
             (std::vector<int>{1, 1, 2, 2, 2, 4}));
    QVERIFY(history_->snapshot()->DrawCount() == draws_.size() - 1);

    ResultsServer server(kServerScript, *folder_ / "gd.txt");
    QTRY_VERIFY(!gate_.busy());
    {
      const std::optional<CommandGate::Pass> pass = gate_.Enter(QStringLiteral("设置"));
      history_->ChangeSetting(SettingKey::kResultsUrl, server.UrlTemplate(), NoSave);
    }
    QSignalSpy added(updater_.get(), &AutoUpdater::drawsAdded);
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 20000);
    QCOMPARE(updater_->currentIntervalMinutes(), 1);
  }

  void settingsAreCommandsOfTheGate() {
    SetUpHistory(UrlTemplateForPort(ClosedPort()));
    StartUpdater();
    QVERIFY(updater_->setIntervalMinutes(7));
    QCOMPARE(updater_->currentIntervalMinutes(), 7);
    QCOMPARE(history_->settings().autoUpdateMinutes, 7);
    QVERIFY(!updater_->setIntervalMinutes(61));
    QCOMPARE(history_->settings().autoUpdateMinutes, 7);
    const std::optional<CommandGate::Pass> other = gate_.Enter(QStringLiteral("读取历史号文本"));
    QVERIFY(!updater_->setEnabled(false));
    QVERIFY(updater_->enabled());
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::AutoUpdaterTest)
#include "auto_updater_test.moc"
