#include "cli/command_help.h"

#include <stdexcept>

namespace zs {

namespace {

struct Help {
  std::string_view subcommand;
  std::string_view text;
};

constexpr Help kHelp[] = {
    {"search",
     "Position search (检索): the issues of the range whose draw satisfies every "
     "chosen position, with their omissions, then the omission summary. Fixed: the "
     "value at that position; free: the value anywhere (an attribute value as often "
     "as it is chosen)."},
    {"partial",
     "Partial search (分部检索): the issues of the range that agree with at "
     "least K of the eight positions of the pattern, with their omissions, then the "
     "omission summary. K outside 1..6 finds no issue."},
    {"group",
     "Group calculation (分组计算): every combination of K checked selection "
     "boxes, with the omission figures over the range of the draws that carry all "
     "its values. Replaces the omission table YL and prints it sorted by intLstYl. "
     "Group size 5 allows at most 18 boxes, 6 at most 16; a refused size changes "
     "nothing."},
    {"table",
     "The omission table YL of the latest group calculation, sorted ascending by a "
     "key."},
    {"settings",
     "Without KEY: print every setting as the grid 键/值 (one row per key, "
     "defaults filled in). With KEY VALUE: check the value and save it; an "
     "unacceptable value saves nothing. Setting DsIni or SxIni re-derives every "
     "stored draw under the new base."},
    {"import",
     "Replace the history with the draws of FILE; print the draws stored, those "
     "that inherited numbers from the draw before, and the lines skipped."},
    {"list", "Print the history grid (期号, 第1码 … 第8码)."},
    {"next",
     "Print the next issue to enter and the last stored issue, as shown (\"\" when "
     "the history is empty)."},
    {"add",
     "Store one draw under the next issue, as the entry boxes do. The numbers must "
     "be 1..20 and distinct; the history must not be empty."},
    {"delete-last",
     "Without N: delete the newest draw (删除最后历史). With N: delete the "
     "newest N draws through the backup file lsbf.txt and the rebuild "
     "(删除最后指定数量期历史); N of 0 or less deletes nothing. Prints "
     "the number deleted and the new last issue."},
    {"delete-after",
     "Delete every draw after ISSUE (删除到选定期), through lsbf.txt and the "
     "rebuild; ISSUE itself stays. Prints the number deleted and the new last issue."},
    {"clear", "Delete every draw (清空历史号码)."},
    {"update",
     "历史号在线更新: fetch the results page of the chosen edition (setting "
     "ResultsUrl, {code} = edition code, {n} = (IniSerchDay + 1) x draws per day) "
     "and store every draw after the last stored one up to the last possible draw "
     "of today. A history whose first draw is more than IniSerchDay days old is "
     "replaced. Prints the draws added, the first and last issue looked up and the "
     "request address. A failed fetch changes nothing."},
    {"stats",
     "Omission statistics (遗漏统计): a row per shown selection box of the type "
     "with 出现次数, 最小遗漏, 最大遗漏, 最后遗漏 (as a position "
     "search for that value gives them), 平均遗漏, 欲出几率 (最后遗漏 / "
     "平均遗漏) and 最大连出 (longest run of consecutive hits) over the "
     "range."},
    {"trend",
     "Trend grid (号码走势): a row per stored draw of the range, oldest first, "
     "with 期号 and a column per shown selection box: the box's label when the "
     "draw hits it, else the number of draws since the last draw that hit it "
     "(counted over the whole history)."},
    {"export-text",
     "Write the history to \"更新至<newest stored issue>期历史号码.txt\" in "
     "the data folder: one CR LF line per draw, the shown issue and the eight "
     "numbers as two digits, each followed by a blank. Prints the path. Fails and "
     "writes nothing on an empty history."},
    {"export-sheet",
     "Write the history grid (期号, 第1码 … 第8码) to the workbook "
     "lishi.xls in the data folder, sheet \"Sheet1\", every cell as the text the "
     "grid shows; an existing file is replaced. Prints the path."},
    {"watch",
     "Watches (关注): patterns followed over the whole history (a position search, "
     "a partial search or one combination of the group calculation) with a "
     "condition last>=N (最后遗漏 at least N), ratio>=R (欲出几率 at least R) or "
     "record (最后遗漏 above 最大遗漏). watch list prints 编号, 名称, 内容, 条件, "
     "出现次数, 最大遗漏, 最后遗漏, 平均遗漏, 欲出几率 and 状态 (提醒 when the "
     "condition holds); watch check only the watches that hold. add and update "
     "print a line 提醒<TAB>编号<TAB>名称<TAB>最后遗漏 for every watch their new "
     "draws made hold."},
};

}  // namespace

std::string CommandHelp(std::string_view subcommand) {
  for (const Help& help : kHelp) {
    if (help.subcommand == subcommand) return std::string(help.text);
  }
  throw std::logic_error("no help for the subcommand " + std::string(subcommand));
}

}  // namespace zs
