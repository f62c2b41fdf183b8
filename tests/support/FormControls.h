#pragma once
// The form's controls as a user finds them: a text box by the label beside
// it, a spin by the box it steps. The view keeps them to itself.
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoView.h"

#include <QLabel>
#include <QLineEdit>

namespace korvel::test {

inline QLineEdit* FormBox(const CTavoView& view, const QString& label)
{
    for (const QLabel* each : view.findChildren<QLabel*>()) {
        if (each->text() == label)
            return qobject_cast<QLineEdit*>(each->buddy());
    }
    qFatal("the form has no box labelled %s", qPrintable(label));
    return nullptr;
}

inline CCellEdit* CellBox(const CTavoView& view)
{
    return qobject_cast<CCellEdit*>(FormBox(view, QStringLiteral("Cell")));
}
inline QLineEdit* AssetsBox(const CTavoView& view)
{
    return FormBox(view, QStringLiteral("A&ssets"));
}
inline QLineEdit* PeriodsBox(const CTavoView& view)
{
    return FormBox(view, QStringLiteral("&Periods"));
}
inline QLineEdit* MinReturnBox(const CTavoView& view)
{
    return FormBox(view, QStringLiteral("Min &Return"));
}

inline UpDownControl* SpinOf(const CTavoView& view, const QLineEdit* box)
{
    for (UpDownControl* spin : view.findChildren<UpDownControl*>()) {
        if (spin->GetBuddy() == box)
            return spin;
    }
    qFatal("no spin steps the box");
    return nullptr;
}
inline UpDownControl* AssetsSpin(const CTavoView& view)
{
    return SpinOf(view, AssetsBox(view));
}
inline UpDownControl* PeriodsSpin(const CTavoView& view)
{
    return SpinOf(view, PeriodsBox(view));
}

}  // namespace korvel::test
