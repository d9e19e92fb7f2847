#include "app/views/view_titles.h"

namespace zs {

QString SearchTypeCaption(SearchType type) {
  static const char* const kCaptions[] = {"号码", "生肖", "头数", "尾数", "合数", "段数"};
  return QString::fromUtf8(kCaptions[static_cast<int>(type)]);
}

QString ViewKindText(const BoxViewRequest& request) {
  if (request.pattern) return QString::fromUtf8(PatternTypeCaption(*request.pattern));
  if (request.freePositions) return SearchTypeCaption(request.type) + QStringLiteral(" 自由位");
  return SearchTypeCaption(request.type) +
         QStringLiteral(" 固定位 第%1位").arg(request.position + 1);
}

QString RangeText(const std::string& startBox, const std::string& endBox) {
  return QStringLiteral("%1 至 %2")
      .arg(QString::fromStdString(startBox), QString::fromStdString(endBox));
}

}  // namespace zs
