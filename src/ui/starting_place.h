#pragma once

#include <QString>

namespace parquill::ui {

class MainWindow;

// Opens the place named on the command line, dropped or chosen with "開く…": a
// folder is opened; a drawing is opened and chosen whatever the file-name
// option says (MainWindow::OpenDrawing); a 地図XML
// file's or ZIP's folder is opened and its lots shown (MainWindow::OpenMapXml). Returns
// what went wrong, empty when nothing did: a place that does not exist leaves
// the window where it was; a file that is not a drawing leaves its folder open
// with nothing chosen.
QString OpenStartingPlace(MainWindow& form, const QString& argument);

}  // namespace parquill::ui
