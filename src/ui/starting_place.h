#pragma once

#include <QString>

namespace parquill::ui {

class MainWindow;

// Opens the place named on the command line: a folder is opened; a drawing's
// folder is opened and the drawing chosen, as a click on it would; a 地図XML
// file's or ZIP's folder is opened and its lots shown (MainWindow::OpenMapXml). Returns
// what went wrong, empty when nothing did: a place that does not exist leaves
// the window where it was; a file that is not a drawing leaves its folder open
// with nothing chosen.
QString OpenStartingPlace(MainWindow& form, const QString& argument);

}  // namespace parquill::ui
