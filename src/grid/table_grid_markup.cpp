#include "grid/table_grid_markup.h"

#include <QByteArrayView>
#include <QColor>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

#include "table/table_grid_text.h"
#include "ui/cell_text.h"

namespace zenavo {

QString ShownCellText(std::string_view cell, int maxChars) {
  std::string_view shown = ShownLine(cell);
  // A UTF-8 character takes at most 4 bytes: more than this cannot show.
  const std::size_t maxBytes = 4 * static_cast<std::size_t>(std::max(1, maxChars));
  if (shown.size() <= maxBytes) return CellTextToQString(shown).left(maxChars);
  const QByteArrayView all(shown.data(), static_cast<qsizetype>(shown.size()));
  std::string_view part = shown.substr(0, maxBytes);
  if (!all.isValidUtf8())
    return QString::fromLatin1(part.data(), static_cast<qsizetype>(part.size())).left(maxChars);
  // Cut before a character's continuation bytes, so the part stays valid UTF-8.
  while (!part.empty() && (static_cast<unsigned char>(shown[part.size()]) & 0xC0) == 0x80)
    part.remove_suffix(1);
  return QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())).left(maxChars);
}

namespace {

// The rich-text start tag for a cell tag, and the name of its end tag; empty when unknown.
struct Tag {
  QString start;
  QString name;
  bool closing = false;
};

Tag ReadTag(const QString& inside) {
  static const QRegularExpression tagPattern(QString::fromLatin1(R"(^\s*(/?)\s*([A-Za-z]+)(\s.*)?$)"),
                                             QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression colorPattern(
      QString::fromLatin1(R"re(color\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"']+)))re"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = tagPattern.match(inside);
  if (!match.hasMatch()) return {};
  Tag tag;
  tag.closing = !match.captured(1).isEmpty();
  tag.name = match.captured(2).toLower();
  const QString attributes = match.captured(3);
  if (tag.name == u"b" || tag.name == u"i" || tag.name == u"u") {
    if (!tag.closing && !attributes.trimmed().isEmpty()) return {};
    tag.start = "<" + tag.name + ">";
    return tag;
  }
  if (tag.name == u"font") {
    tag.start = QStringLiteral("<font>");
    const QRegularExpressionMatch color = colorPattern.match(attributes);
    if (color.hasMatch()) {
      const QColor value(color.captured(1) + color.captured(2) + color.captured(3));
      if (value.isValid()) tag.start = "<font color=\"" + value.name() + "\">";
    }
    return tag;
  }
  return {};
}

}  // namespace

QString FormattedTextToHtml(const QString& text) {
  QString html = QStringLiteral("<p style=\"white-space:pre\">");
  std::vector<QString> open;  // names of the tags open now, innermost last
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype end = text[i] == u'<' ? text.indexOf(u'>', i) : -1;
    const Tag tag = end > i ? ReadTag(text.mid(i + 1, end - i - 1)) : Tag{};
    if (tag.name.isEmpty() || tag.start.isEmpty()) {
      html += text[i] == u'\n' ? QStringLiteral(" ") : QString(text[i]).toHtmlEscaped();
      ++i;
      continue;
    }
    if (!tag.closing) {
      html += tag.start;
      open.push_back(tag.name);
    } else if (const auto it = std::find(open.rbegin(), open.rend(), tag.name); it != open.rend()) {
      // Close the tags opened inside it too.
      const auto keep = open.size() - static_cast<std::size_t>(it - open.rbegin()) - 1;
      while (open.size() > keep) {
        html += "</" + open.back() + ">";
        open.pop_back();
      }
    }
    i = end + 1;
  }
  while (!open.empty()) {
    html += "</" + open.back() + ">";
    open.pop_back();
  }
  return html + QStringLiteral("</p>");
}

}  // namespace zenavo
