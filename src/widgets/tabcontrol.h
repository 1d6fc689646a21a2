#pragma once
// A tab control whose pages have no layout: their children sit at fixed positions. Its tabs
// change by a click, not by the mouse wheel turned over them.

#include <QTabWidget>

namespace mv {

class TabControl : public QTabWidget
{
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Appends an empty page; returns its index.
    int addPage(const QString& caption);
    // The page widget, nullptr outside the range.
    QWidget* page(int index) const { return widget(index); }
};

} // namespace mv
