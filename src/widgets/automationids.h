#pragma once
// Exposes objectNames to accessibility tools: with MORVANE_AUTOMATION_IDS=1 every widget,
// toolbar button and menu action carries its objectName as its accessible description (the
// fields' names come from their labels in every run: see forms/fieldlabels.h).

class QApplication;
class QWidget;

namespace mv {

// Installs the application-wide filter when MORVANE_AUTOMATION_IDS is "1".
void installAutomationIds(QApplication& app);

// Applies the ids to one widget (what the filter does on Polish and Show).
void applyAutomationIds(QWidget* widget);

} // namespace mv
