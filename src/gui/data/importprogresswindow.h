#pragma once
// The small window that follows an Access import table by table, rows counted.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace mv {

class ImportProgressWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ImportProgressWindow(QWidget* parent = nullptr);

    // Shows the table being copied and its rows so far out of total; keeps the window painted.
    void showProgress(const QString& table, qint64 rows, qint64 total);

private:
    QLabel* m_label = nullptr;
    QProgressBar* m_bar = nullptr;
};

} // namespace mv
