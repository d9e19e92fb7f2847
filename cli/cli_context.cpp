#include "cli/cli_context.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>

#include "analysis/history_index.h"
#include "core/issue_number.h"
#include "export/grid_text.h"

namespace zs {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject GridJson(const GridSource& grid) {
  QJsonArray columns;
  for (const std::string& heading : grid.Headings()) columns.append(ToQString(heading));
  QJsonArray rows;
  std::string scratch;
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    QJsonArray cells;
    for (size_t column = 0; column < grid.ColumnCount(); ++column) {
      cells.append(ToQString(grid.CellText(row, column, scratch)));
    }
    rows.append(cells);
  }
  return QJsonObject{{QStringLiteral("columns"), columns}, {QStringLiteral("rows"), rows}};
}

void WriteOut(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

void WriteJson(const QJsonObject& object) {
  QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
  bytes.append('\n');
  WriteOut(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace

History& CliContext::OpenHistory() {
  if (!history_) history_ = History::OpenFolder(dataFolder, settings);
  return *history_;
}

Snapshot CliContext::LoadHistory() {
  Snapshot history = OpenHistory().snapshot();
  settings.zodiacBase = history->rules.zodiacBase;
  settings.segmentBase = history->rules.segmentBase;
  return history;
}

PackedHistory CliContext::LoadDraws() {
  DerivedHistory derived = Store().LoadDerived();
  if (derived.bases) {
    settings.zodiacBase = derived.bases->zodiacBase;
    settings.segmentBase = derived.bases->segmentBase;
  }
  return std::move(derived.draws);
}

bool CliContext::ThreeDigit() const { return IssueRule::From(settings).threeDigit; }

void CliContext::PrintGrid(const GridSource& grid) const {
  if (json) {
    WriteJson(GridJson(grid));
    return;
  }
  std::string text;
  AppendGridText(grid, text);
  WriteOut(text);
}

void CliContext::PrintGrids(
    const std::vector<std::pair<std::string, const GridSource*>>& grids) const {
  if (json) {
    QJsonObject object;
    for (const auto& [name, grid] : grids) object.insert(ToQString(name), GridJson(*grid));
    WriteJson(object);
    return;
  }
  std::string text;
  for (size_t i = 0; i < grids.size(); ++i) {
    if (i > 0) text += '\n';
    AppendGridText(*grids[i].second, text);
  }
  WriteOut(text);
}

void CliContext::PrintValues(const std::vector<std::pair<std::string, std::string>>& values) const {
  if (json) {
    QJsonObject object;
    for (const auto& [name, value] : values) object.insert(ToQString(name), ToQString(value));
    WriteJson(object);
    return;
  }
  std::string text;
  for (const auto& [name, value] : values) text += name + '\t' + value + '\n';
  WriteOut(text);
}

SearchType ParseSearchType(const std::string& text) {
  static const char* const kNames[] = {"number", "zodiac", "tens", "units", "sum", "segment"};
  for (int t = 0; t < kSearchTypeCount; ++t) {
    if (text == kNames[t] || text == std::to_string(t)) return static_cast<SearchType>(t);
  }
  throw UsageError("--type must be number, zodiac, tens, units, sum, segment or 0..5, not \"" +
                   text + "\"");
}

void FillRangeBoxes(const CliContext& context, const std::vector<int32_t>& issues,
                    const std::string& from, const std::string& to, std::string& startBox,
                    std::string& endBox) {
  const bool threeDigit = context.ThreeDigit();
  startBox = !from.empty() ? from : !issues.empty() ? ShownIssue(issues.front(), threeDigit) : "0";
  endBox = !to.empty() ? to : !issues.empty() ? ShownIssue(issues.back(), threeDigit) : "0";
}

void FillRangeBoxes(const CliContext& context, const HistoryIndex& index, const std::string& from,
                    const std::string& to, std::string& startBox, std::string& endBox) {
  FillRangeBoxes(context, index.Draws()->issues, from, to, startBox, endBox);
}

}  // namespace zs
