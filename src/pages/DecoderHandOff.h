#pragma once

#include <QString>

class QWidget;

// Handing the code to the decoder page in the desktop browser. The hand-off state is process-wide:
// created on the first "&Decode", ended by the destruction of the first page.

// The address of the decoder page for a code: blanks as "%20", "+" as "%2B", all else unchanged.
QString BuildDecoderUrl(const QString& code);
// Opens the decoder page for the code; tells the user when no browser can be reached.
void HandOffToDecoder(QWidget& page, const QString& code);
void ReleaseDecoderHandOff();
