#pragma once
// The OK and Cancel row at the foot of the revision list's small dialogs.

class QDialog;
class QHBoxLayout;
class QPushButton;

// A row of "OK" (Button1, the default, accepts) and "Cancel" (Button2,
// rejects), right-aligned, for the caller to place.
QHBoxLayout* NewOkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);
