#pragma once

// Printing a picture on one page under a caption line.

#include <QImage>
#include <QPageLayout>
#include <QString>

class QWidget;

namespace kestrova {

// Kept from one print to the next for the whole run.
struct PrintSettings {
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int copies = 1;
};

// Shows the print dialog with the stored settings, stores the user's choice and prints
// `caption` centred at the top and `picture` stretched over 80 % of the page. Cancelling and
// printer failures end it silently (false).
bool PrintPicture(QWidget* parent, PrintSettings& settings, const QImage& picture, const QString& caption);

}  // namespace kestrova
