#pragma once
// Stands for a control with no appearance (common dialog, database connection, script
// component, timer, data provider, data source): it holds a name and stays hidden.

#include <QWidget>

namespace mv {

class NonVisualControl : public QWidget
{
    Q_OBJECT
public:
    explicit NonVisualControl(QWidget* parent = nullptr);

    void setVisible(bool visible) override;
};

} // namespace mv
