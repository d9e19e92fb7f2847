#include "tests/support/workbook_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace zs::testing {
namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Runs a command and returns its standard output; false when it failed.
bool Capture(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  return pclose(pipe) == 0;
}

std::string Unescape(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      plain += text[i];
      continue;
    }
    const size_t end = text.find(';', i);
    const std::string_view entity = text.substr(i + 1, end - i - 1);
    if (entity == "amp")
      plain += '&';
    else if (entity == "lt")
      plain += '<';
    else if (entity == "gt")
      plain += '>';
    else if (entity == "quot")
      plain += '"';
    else if (entity == "apos")
      plain += '\'';
    else
      plain.append("&").append(entity).append(";");
    i = end;
  }
  return plain;
}

std::string Attribute(std::string_view tag, std::string_view name) {
  const std::string key = std::string(" ").append(name).append("=\"");
  const size_t at = tag.find(key);
  if (at == std::string_view::npos) return "";
  const size_t begin = at + key.size();
  return Unescape(tag.substr(begin, tag.find('"', begin) - begin));
}

// The concatenated contents of every <t> element (rich text has several).
std::string TextRuns(std::string_view xml) {
  std::string text;
  size_t at = 0;
  while ((at = xml.find("<t", at)) != std::string_view::npos) {
    const size_t open = xml.find('>', at);
    if (xml[at + 2] != '>' && xml[at + 2] != ' ') {  // <tc…> and the like
      at = open;
      continue;
    }
    if (xml[open - 1] == '/') {  // <t/>
      at = open;
      continue;
    }
    const size_t close = xml.find("</t>", open);
    text += Unescape(xml.substr(open + 1, close - open - 1));
    at = close;
  }
  return text;
}

std::string Element(std::string_view xml, std::string_view name) {
  const std::string open = std::string("<").append(name).append(">");
  const std::string close = std::string("</").append(name).append(">");
  const size_t begin = xml.find(open);
  if (begin == std::string_view::npos) return "";
  const size_t end = xml.find(close, begin);
  return std::string(xml.substr(begin + open.size(), end - begin - open.size()));
}

std::vector<std::string> SharedStrings(const std::string& xml) {
  std::vector<std::string> strings;
  size_t at = 0;
  while ((at = xml.find("<si>", at)) != std::string::npos) {
    const size_t end = xml.find("</si>", at);
    strings.push_back(TextRuns(std::string_view(xml).substr(at, end - at)));
    at = end;
  }
  return strings;
}

void SplitReference(const std::string& reference, int& row, int& column) {
  column = 0;
  size_t i = 0;
  for (; i < reference.size() && std::isupper(static_cast<unsigned char>(reference[i])); ++i) {
    column = column * 26 + (reference[i] - 'A' + 1);
  }
  row = std::stoi(reference.substr(i));
}

}  // namespace

std::string ColumnLetters(int column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  }
  return letters;
}

std::vector<std::vector<std::string>> WorkbookContents::Rows(int rowCount, int columnCount) const {
  std::vector<std::vector<std::string>> rows(rowCount, std::vector<std::string>(columnCount));
  for (int r = 0; r < rowCount; ++r) {
    for (int c = 0; c < columnCount; ++c) {
      const auto found = cells.find(ColumnLetters(c + 1) + std::to_string(r + 1));
      if (found != cells.end()) rows[r][c] = found->second.text;
    }
  }
  return rows;
}

std::pair<int, int> WorkbookContents::Extent() const {
  std::pair<int, int> extent{0, 0};
  for (const auto& [reference, cell] : cells) {
    int row, column;
    SplitReference(reference, row, column);
    extent.first = std::max(extent.first, row);
    extent.second = std::max(extent.second, column);
  }
  return extent;
}

WorkbookContents ReadWorkbook(const std::filesystem::path& file) {
  WorkbookContents contents;
  const std::string archive = ShellQuote(file.string());
  std::string listing, workbook, sheet, shared;
  if (!Capture("unzip -Z1 " + archive, listing)) {
    ADD_FAILURE() << file << " is not a zip archive";
    return contents;
  }
  if (!Capture("unzip -p " + archive + " xl/workbook.xml", workbook) ||
      !Capture("unzip -p " + archive + " xl/worksheets/sheet1.xml", sheet)) {
    ADD_FAILURE() << file << " lacks a workbook part or its first worksheet:\n" << listing;
    return contents;
  }
  std::vector<std::string> sharedStrings;
  if (listing.find("xl/sharedStrings.xml") != std::string::npos) {
    Capture("unzip -p " + archive + " xl/sharedStrings.xml", shared);
    sharedStrings = SharedStrings(shared);
  }

  size_t at = 0;
  while ((at = workbook.find("<sheet ", at)) != std::string::npos) {
    const size_t end = workbook.find('>', at);
    contents.sheetNames.push_back(
        Attribute(std::string_view(workbook).substr(at, end - at), "name"));
    at = end;
  }

  at = 0;
  while ((at = sheet.find("<c ", at)) != std::string::npos) {
    const size_t tagEnd = sheet.find('>', at);
    const std::string_view tag = std::string_view(sheet).substr(at, tagEnd - at + 1);
    const std::string reference = Attribute(tag, "r");
    const std::string type = Attribute(tag, "t");
    std::string_view body;
    if (sheet[tagEnd - 1] != '/') {
      const size_t close = sheet.find("</c>", tagEnd);
      body = std::string_view(sheet).substr(tagEnd + 1, close - tagEnd - 1);
    }
    SheetCell cell;
    if (type == "inlineStr") {
      cell = {TextRuns(body), true};
    } else if (type == "s") {
      const size_t index = std::stoul(Element(body, "v"));
      cell = {index < sharedStrings.size() ? sharedStrings[index] : "", true};
    } else if (type == "str") {
      cell = {Unescape(Element(body, "v")), true};
    } else {
      cell = {Element(body, "v"), false};
    }
    contents.cells[reference] = cell;
    at = tagEnd;
  }
  return contents;
}

}  // namespace zs::testing
