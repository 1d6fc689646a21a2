// The Office Open XML writer, on libxlsxwriter. The library writes a whole file at a path of
// its choosing only on close, so it writes to a fresh name beside the target, which then
// replaces the target in one rename.

#include "data/workbookwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <xlsxwriter.h>

namespace mv {

namespace {

constexpr int kXlsxMaxRows = 1048576;
constexpr int kXlsxMaxColumns = 16384;
constexpr int kXlsxMaxCellLength = 32767;

class XlsxWriter final : public WorkbookWriter
{
public:
    explicit XlsxWriter(const QString& path) : m_path(path) {}

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
            const QByteArray utf8 = text.toUtf8();
            const lxw_error result = worksheet_write_string(m_sheet, lxw_row_t(m_row), lxw_col_t(c),
                                                            utf8.constData(), m_text);
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
        const lxw_error result = workbook_close(m_book);
        m_book = nullptr;
        m_sheet = nullptr;
        if (result != LXW_NO_ERROR) {
            discard();
            return fail(QStringLiteral("无法写入文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_path),
                                 QString::fromUtf8(lxw_strerror(result))));
        }
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(m_temporary).toStdString(),
                                QFile::encodeName(m_path).toStdString(), error);
        if (error) {
            discard();
            return fail(QStringLiteral("无法写入文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_path),
                                 QString::fromStdString(error.message())));
        }
        m_temporary.clear();
        return true;
    }

private:
    // Reserves a fresh name beside the target; a directory that cannot take it fails here.
    bool open()
    {
        QTemporaryFile reserve(QFileInfo(m_path).absoluteFilePath() + QStringLiteral(".XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return fail(QStringLiteral("无法写入文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_path), reserve.errorString()));
        m_temporary = reserve.fileName();
        reserve.close();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // rows go to disk as they come
        m_book = workbook_new_opt(QFile::encodeName(m_temporary).constData(), &options);
        if (!m_book) {
            discard();
            return fail(QStringLiteral("无法创建工作簿 %1").arg(QDir::toNativeSeparators(m_path)));
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
        if (!m_temporary.isEmpty()) {
            QFile::remove(m_temporary);
            m_temporary.clear();
        }
    }

    QString m_path;
    QString m_temporary;
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
