// The version page, from its bytes as they arrive to the texts of the update
// dialog and of --check-update. The check's own reading is compared with a
// literal re-statement of its steps: the cuts between markers (first start
// marker, next end marker after it) and the three replacements of the notes,
// each of every occurrence from the first character on. Beyond that: a page
// that is not empty gives 需要更新 or 最新 and nothing else, the notes keep no
// "<br>", "&ldquo;" or "&rdquo;", a version once skipped is not announced, and
// the JSON of --check-update reads back as the same texts.

#include "tests/fuzz/fuzzsupport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <string>
#include <string_view>

#include "cli/headlessupdatecheck.h"
#include "net/modgetcode.h"
#include "update/checkforupdate.h"

using namespace Lumisong;

namespace {

using Text = std::u16string_view;

const QString Current = QStringLiteral("1.1.0");

Text view(const QString &text)
{
    return Text(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
}

QString toQString(const std::u16string &text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

std::u16string between(Text text, Text start, Text end)
{
    const size_t at = text.find(start);
    if (at == Text::npos)
        return {};
    const size_t from = at + start.size();
    const size_t to = text.find(end, from);
    if (to == Text::npos)
        return {};
    return std::u16string(text.substr(from, to - from));
}

std::u16string replaceEvery(Text text, Text what, Text with)
{
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, what.size()) == what) {
            out += with;
            i += what.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The check's steps, written out once more.
VersionPageReading literalReading(const QString &pageText, const QString &current,
                                  const QString &skipped)
{
    VersionPageReading expected;
    if (pageText.isEmpty()) {
        expected.result = QStringLiteral("失败");
        return expected;
    }
    const Text page = view(pageText);
    const std::u16string title = between(page, u"<title>", u"</title>");
    UpdateNotice &notice = expected.notice;
    notice.newestVersion = toQString(between(title, u"(V", u")"));
    notice.due = !notice.newestVersion.isEmpty() && notice.newestVersion != current &&
                 notice.newestVersion != skipped;
    if (!notice.due) {
        expected.result = QStringLiteral("最新");
        return expected;
    }
    expected.result = QStringLiteral("需要更新");
    const std::u16string mark = u"【本次更新】";
    const std::u16string date = between(page, mark, u"<br>");
    std::u16string notes = between(page, mark + date + u"<br>", u"</p>");
    notes = replaceEvery(notes, u"<br>", u"\r\n");
    notes = replaceEvery(notes, u"&ldquo;", u"\u201C");
    notes = replaceEvery(notes, u"&rdquo;", u"\u201D");
    notice.releaseDate = toQString(date);
    notice.txtNew = toQString(notes);
    notice.lblUpdate = QStringLiteral("检测到新版本：") + notice.newestVersion +
                       QStringLiteral("（当前版本：") + current + QStringLiteral("）");
    notice.titleSuffix = QStringLiteral("(更新于：") + notice.releaseDate + u')';
    return expected;
}

void compare(const QString &field, const QString &read, const QString &expected)
{
    Fuzz::check(read == expected, field + QStringLiteral(" is \"") + read.left(200) +
                                      QStringLiteral("\", the literal steps give \"") +
                                      expected.left(200) + u'"');
}

void checkReading(const QString &page, const QString &skipped, const VersionPageReading &read)
{
    const VersionPageReading expected = literalReading(page, Current, skipped);
    compare(QStringLiteral("the result"), read.result, expected.result);
    const UpdateNotice &a = read.notice, &b = expected.notice;
    compare(QStringLiteral("newestVersion"), a.newestVersion, b.newestVersion);
    Fuzz::check(a.due == b.due, QStringLiteral("due differs from the literal steps"));
    compare(QStringLiteral("the release date"), a.releaseDate, b.releaseDate);
    compare(QStringLiteral("lblUpdate"), a.lblUpdate, b.lblUpdate);
    compare(QStringLiteral("txtNew"), a.txtNew, b.txtNew);
    compare(QStringLiteral("the title suffix"), a.titleSuffix, b.titleSuffix);
}

// What --check-update prints for this reading must read back as its texts.
void checkJson(const QString &skipped, const VersionPageReading &read)
{
    const QByteArray json = HeadlessUpdateCheck::toJson(read.result, Current, skipped, read.notice);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    Fuzz::check(error.error == QJsonParseError::NoError && document.isObject(),
                QStringLiteral("--check-update prints no JSON object: ") + error.errorString());
    const QJsonObject object = document.object();
    const auto member = [&object](const char *name) {
        return object.value(QLatin1StringView(name)).toString();
    };
    compare(QStringLiteral("JSON result"), member("result"), read.result);
    compare(QStringLiteral("JSON skippedVersion"), member("skippedVersion"), skipped);
    compare(QStringLiteral("JSON newestVersion"), member("newestVersion"),
            read.notice.newestVersion);
    const bool due = read.result == QStringLiteral("需要更新");
    Fuzz::check(object.size() == (due ? 7 : 4),
                QStringLiteral("--check-update prints %1 members").arg(object.size()));
    if (!due)
        return;
    compare(QStringLiteral("JSON lblUpdate"), member("lblUpdate"), read.notice.lblUpdate);
    compare(QStringLiteral("JSON txtNew"), member("txtNew"), read.notice.txtNew);
    compare(QStringLiteral("JSON lblTitle"), member("lblTitle"),
            HeadlessUpdateCheck::designedDialogTitle() + read.notice.titleSuffix);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The fetcher decodes the version page as GB2312 whatever the server says.
    const std::optional<QString> decoded = decodeBytes(bytes, QStringLiteral("gb2312"));
    Fuzz::check(decoded.has_value(), QStringLiteral("gb2312 is not a known charset"));
    const QString &page = *decoded;

    const VersionPageReading read = readVersionPage(page, Current, QString());
    checkReading(page, QString(), read);
    if (page.isEmpty())
        return 0;
    Fuzz::check(read.result == QStringLiteral("需要更新") || read.result == QStringLiteral("最新"),
                QStringLiteral("a page that arrived gives \"%1\"").arg(read.result));
    for (const char *markup : {"<br>", "&ldquo;", "&rdquo;"}) {
        Fuzz::check(!read.notice.txtNew.contains(QLatin1StringView(markup)),
                    QStringLiteral("the notes keep %1").arg(QLatin1StringView(markup)));
    }
    checkJson(QString(), read);

    // The version the user silenced is not announced again.
    if (read.notice.due) {
        const QString skipped = read.notice.newestVersion;
        const VersionPageReading again = readVersionPage(page, Current, skipped);
        checkReading(page, skipped, again);
        Fuzz::check(again.result == QStringLiteral("最新"),
                    QStringLiteral("a skipped version is announced again"));
        checkJson(skipped, again);
    }
    return 0;
}
