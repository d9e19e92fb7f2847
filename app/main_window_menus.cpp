// The window's menus with their names and captions: 历史管理 (also the
// history grid's context menu), 设置 (also the 软件设置 button's menu),
// 走势统计 and 帮助, each item connected to its command.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/deletion_commands.h"
#include "app/grid_view.h"
#include "app/history_panel.h"
#include "app/main_window.h"
#include "app/settings_commands.h"
#include "app/views/views_hooks.h"
#include "app/widget_factory.h"
#include "core/edition.h"
#include "export/spreadsheet_export.h"

namespace zs {
namespace {

QAction* AddAction(QMenu* menu, const QString& caption, const QString& name) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QMenu* AddMenu(QMenuBar* bar, const QString& caption, const QString& name) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

}  // namespace

void MainWindow::BuildMenus() {
  historyMenu_ = AddMenu(menuBar(), QStringLiteral("历史管理"), QStringLiteral("mnuLsgl"));
  const NamedItem<DeletionCommands> deletions[] = {
      {"mnuErase", "删除最后历史(&E)", &DeletionCommands::DeleteLast},
      {"mnuClear", "清空历史号码(&C)", &DeletionCommands::ClearHistory},
      {"mnuDlzd", "删除到选定期(&D)", &DeletionCommands::DeleteDownTo},
      {"mnuEszhzd", "删除最后指定数量期历史(&E)", &DeletionCommands::DeleteLastCount},
  };
  QAction* exportHistory =
      AddAction(historyMenu_, QStringLiteral("导出历史号码(&O)"), QStringLiteral("mnuDcls"));
  connect(exportHistory, &QAction::triggered, this,
          [this] { historyCommands_->ExportGrid(history_->grid(), kHistorySheetName); });
  for (const auto& item : deletions) {
    QAction* action =
        AddAction(historyMenu_, QString::fromUtf8(item.caption), QString::fromLatin1(item.name));
    connect(action, &QAction::triggered, deletionCommands_, item.member);
  }

  setupMenu_ = AddMenu(menuBar(), QStringLiteral("设置"), QStringLiteral("mnuSetup"));
  SettingsCommands* settings = settingsCommands_;
  SettingsMenuItems& items = settings->items();
  const struct {
    const char* caption;
    const char* name;
    const char* itemName;
    const char* items[2];
    std::array<QAction*, 2>* actions;
    void (SettingsCommands::*command)(int);
  } baseMenus[] = {
      {"生肖(肖位)参数设置(&S)",
       "mnuSxCssetup",
       "mnuSxcs",
       {"生肖(肖位)参数0~11", "生肖(肖位)参数1~12"},
       &items.zodiac,
       &SettingsCommands::ChangeZodiacBase},
      {"段数参数设置(&A)",
       "mnuDssetup",
       "mnuDscs",
       {"段数参数0~4", "段数参数1~5"},
       &items.segment,
       &SettingsCommands::ChangeSegmentBase},
      {"波色参数设置(&B)",
       "mnuBssetup",
       "mnuBscs",
       {"波色参数0~2", "波色参数1~3"},
       &items.colour,
       &SettingsCommands::ChangeColourBase},
  };
  for (const auto& base : baseMenus) {
    QMenu* menu = setupMenu_->addMenu(QString::fromUtf8(base.caption));
    menu->setObjectName(QString::fromLatin1(base.name));
    for (int item = 0; item < 2; ++item) {
      QAction* action =
          AddAction(menu, QString::fromUtf8(base.items[item]), Named(base.itemName, item));
      action->setCheckable(true);
      (*base.actions)[size_t(item)] = action;
      connect(action, &QAction::triggered, settings,
              [settings, command = base.command, item] { (settings->*command)(item); });
    }
  }
  setupMenu_->addSeparator();
  QAction* keptYears =
      AddAction(setupMenu_, QStringLiteral("历史号码更新检索天(&Y)"), QStringLiteral("mnuSetDay"));
  QAction* resultsUrl = AddAction(setupMenu_, QStringLiteral("历史号码更新网址(&U)"),
                                  QStringLiteral("mnuResultsUrl"));
  const struct {
    const char* caption;
    const char* name;
    const char* page;
  } links[] = {
      {"软件服务主页(&P)", "mnuFrontPage", "index.html"},
      {"软件介绍说明(&R)", "mnuDescrb", "functions.html"},
      {"软件演示说明录像下载(&D)", "numYanshiDown", "walkthrough.html"},
  };
  for (const auto& link : links) {
    QAction* action =
        AddAction(setupMenu_, QString::fromUtf8(link.caption), QString::fromLatin1(link.name));
    connect(action, &QAction::triggered, settings,
            [settings, page = QString::fromLatin1(link.page)] { settings->OpenGuidePage(page); });
  }
  setupMenu_->addSeparator();
  QMenu* editions = setupMenu_->addMenu(QStringLiteral("彩种选择"));
  editions->setObjectName(QStringLiteral("mnuCaizhong"));
  for (size_t edition = 0; edition < Editions().size(); ++edition) {
    const std::string_view caption = Editions()[edition].caption;
    QAction* action =
        AddAction(editions, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                  Named("mnuKL10", int(edition)));
    action->setCheckable(true);
    items.editions[edition] = action;
    connect(action, &QAction::triggered, settings,
            [settings, edition] { settings->ChangeEdition(EditionChoice::Of(edition)); });
  }

  views_->AddMenu(menuBar());

  QMenu* help = AddMenu(menuBar(), QStringLiteral("帮助(&H)"), QStringLiteral("mnuHelp"));
  QAction* guide = AddAction(help, QStringLiteral("使用说明(&G)"), QStringLiteral("mnuGuide"));
  QAction* about = AddAction(help, QStringLiteral("关于(&A)"), QStringLiteral("mnuAbout"));

  connect(keptYears, &QAction::triggered, settings, &SettingsCommands::AskKeptYears);
  connect(resultsUrl, &QAction::triggered, settings, &SettingsCommands::AskResultsUrl);
  connect(guide, &QAction::triggered, settings,
          [settings] { settings->OpenGuidePage(QStringLiteral("walkthrough.html")); });
  connect(about, &QAction::triggered, settings, &SettingsCommands::ShowAbout);
}

}  // namespace zs
