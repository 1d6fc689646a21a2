// The Office Open XML writer, on libxlsxwriter. The library writes the whole file only on
// close, at a path of our choosing: a fresh name beside the target, which then replaces the
// target in one rename. Its own scratch files go to the target's directory as well.

#include "common/replacementfile.h"
#include "common/systemerror.h"
#include "exchange/workbook/workbookwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <cerrno>
#include <vector>
#include <xlsxwriter.h>

namespace mv {

namespace {

constexpr int kXlsxMaxRows = 1048576;
constexpr int kXlsxMaxColumns = 16384;
constexpr int kXlsxMaxCellLength = 32767;

class XlsxWriter final : public WorkbookWriter
{
public:
    explicit XlsxWriter(const QString& path) : m_file(path) {}

    ~XlsxWriter() override { discard(); }

    int maxRows() const override { return kXlsxMaxRows; }
    int maxColumns() const override { return kXlsxMaxColumns; }
    int maxCellLength() const override { return kXlsxMaxCellLength; }

    bool beginSheet(const QString& name) override
    {
        const QString problem = sheetNameProblem(name);
        if (!problem.isEmpty())
            return fail(problem);
        if (!m_book && !open())
            return false;
        const QByteArray utf8 = name.toUtf8();
        if (workbook_validate_sheet_name(m_book, utf8.constData()) != LXW_NO_ERROR)
            return fail(QStringLiteral("工作表名“%1”无效或重复").arg(name));
        m_sheet = workbook_add_worksheet(m_book, utf8.constData());
        if (!m_sheet)
            return fail(QStringLiteral("无法添加工作表“%1”").arg(name));
        m_row = 0;
        return true;
    }

    bool addRow(const QStringList& cells) override
    {
        if (!m_sheet)
            return fail(QStringLiteral("尚未开始工作表"));
        if (m_row >= kXlsxMaxRows)
            return fail(QStringLiteral("工作表已达 %1 行的上限").arg(kXlsxMaxRows));
        if (cells.size() > kXlsxMaxColumns)
            return fail(QStringLiteral("列数超过 %1 列的上限").arg(kXlsxMaxColumns));
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString& text = cells.at(c);
            if (text.isEmpty())
                continue;
            if (text.size() > kXlsxMaxCellLength)
                return fail(
                    QStringLiteral("单元格文字超过 %1 个字符的上限").arg(kXlsxMaxCellLength));
            const lxw_error result =
                worksheet_write_string(m_sheet, lxw_row_t(m_row), lxw_col_t(c), utf8(text), m_text);
            if (result != LXW_NO_ERROR)
                return fail(QStringLiteral("无法写入单元格：%1")
                                .arg(QString::fromUtf8(lxw_strerror(result))));
        }
        ++m_row;
        return true;
    }

    bool finish() override
    {
        if (!m_sheet)
            return fail(QStringLiteral("工作簿中没有工作表"));
        errno = 0;
        const lxw_error result = workbook_close(m_book);
        const int systemError = errno;
        m_book = nullptr;
        m_sheet = nullptr;
        if (result != LXW_NO_ERROR) {
            discard();
            // A write the system refused (a full disk) comes back as a file or zip error: its
            // reason is the system's.
            const bool fileError =
                result == LXW_ERROR_CREATING_XLSX_FILE || result == LXW_ERROR_CREATING_TMPFILE ||
                result == LXW_ERROR_ZIP_FILE_OPERATION || result == LXW_ERROR_ZIP_FILE_ADD ||
                result == LXW_ERROR_ZIP_CLOSE;
            return fail(cannotWrite(fileError && systemError != 0
                                        ? systemErrorText(systemError)
                                        : QString::fromUtf8(lxw_strerror(result))));
        }
        QString error;
        return m_file.commit(&error) || fail(cannotWrite(error));
    }

private:
    // The text as a NUL-terminated UTF-8 string in a buffer reused for every cell (the
    // library keeps its own copy). Readers take "_xHHHH_" in a cell for an escaped character,
    // so a "_x" typed as such is written with its underscore escaped: "_x005F_x".
    const char* utf8(const QString& text)
    {
        if (text.contains(QLatin1String("_x")))
            return encoded(QString(text).replace(QLatin1String("_x"), QLatin1String("_x005F_x")));
        return encoded(text);
    }

    const char* encoded(QStringView text)
    {
        const size_t needed = size_t(text.size()) * 3 + 1;
        if (m_utf8.size() < needed)
            m_utf8.resize(needed);
        *m_encoder.appendToBuffer(m_utf8.data(), text) = '\0';
        return m_utf8.data();
    }

    QString cannotWrite(const QString& reason) const
    {
        return QStringLiteral("无法写入文件 %1：%2")
            .arg(QDir::toNativeSeparators(m_file.target()), reason);
    }

    // Reserves the fresh name beside the target; a directory that cannot take it fails here.
    bool open()
    {
        QString error;
        if (!m_file.create(&error))
            return fail(cannotWrite(error));
        m_scratchDirectory = QFile::encodeName(QFileInfo(m_file.target()).absolutePath());
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // rows go to the scratch file as they come
        options.tmpdir = m_scratchDirectory.data();
        m_book = workbook_new_opt(QFile::encodeName(m_file.temporaryPath()).constData(), &options);
        if (!m_book) {
            discard();
            return fail(
                QStringLiteral("无法创建工作簿 %1").arg(QDir::toNativeSeparators(m_file.target())));
        }
        m_text = workbook_add_format(m_book);
        format_set_num_format(m_text, "@");
        return true;
    }

    void discard()
    {
        if (m_book) {
            // Closing is the library's only way to free a workbook; its output is dropped.
            workbook_close(m_book);
            m_book = nullptr;
        }
        m_file.discard();
    }

    ReplacementFile m_file;
    QByteArray m_scratchDirectory;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    std::vector<char> m_utf8;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_text = nullptr;
    int m_row = 0;
};

} // namespace

std::unique_ptr<WorkbookWriter> createXlsxWriter(const QString& path)
{
    return std::make_unique<XlsxWriter>(path);
}

} // namespace mv
