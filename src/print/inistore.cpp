#include "print/inistore.h"

#include "common/replacementfile.h"
#include "common/texts.h"

#include <QFile>
#include <QStringDecoder>

namespace mv {

namespace {

const QString kSection = QStringLiteral("打印设置");

QString sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool isSection(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

} // namespace

QString IniFile::decode(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK");
    if (gbk.isValid())
        return gbk.decode(data);
    return text;
}

IniFile::IniFile(const QString& path) : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_exists = true;
    QString text = decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

qsizetype IniFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (isSection(m_lines[i]) &&
            sectionName(m_lines[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, const QString& key) const
{
    for (qsizetype i = sectionLine + 1; i < m_lines.size() && !isSection(m_lines[i]); ++i) {
        const qsizetype eq = m_lines[i].indexOf(QLatin1Char('='));
        if (eq > 0 && m_lines[i].left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    const qsizetype s = findSection(section);
    if (s < 0)
        return fallback;
    const qsizetype k = findKey(s, key);
    if (k < 0)
        return fallback;
    const QString& line = m_lines[k];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + value;
    qsizetype s = findSection(section);
    if (s < 0) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(line);
        return;
    }
    const qsizetype k = findKey(s, key);
    if (k >= 0) {
        m_lines[k] = line;
        return;
    }
    qsizetype end = s + 1;
    while (end < m_lines.size() && !isSection(m_lines[end]))
        ++end;
    while (end > s + 1 && m_lines[end - 1].trimmed().isEmpty())
        --end; // keep blank lines between sections after the new key
    m_lines.insert(end, line);
}

bool IniFile::save() const
{
    QString error;
    return replaceFileContent(
        m_path, (m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(), &error);
}

bool IniStore::hasSavedSet()
{
    return QFile::exists(m_path);
}

QString IniStore::readText(const QString& name)
{
    return IniFile(m_path).value(kSection, name);
}

int IniStore::readNumber(const QString& name)
{
    return toInteger(readText(name));
}

void IniStore::writeText(const QString& name, const QString& value)
{
    // A failed write is noted (see writeFailed()); the preview goes on.
    IniFile file(m_path);
    file.setValue(kSection, name, value);
    noteWrite(file.save());
}

void IniStore::writeNumber(const QString& name, int value)
{
    writeText(name, QString::number(value));
}

} // namespace mv
