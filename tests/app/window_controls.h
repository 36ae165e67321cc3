// The main window's controls, found by their object names as a script driving the window would.
#pragma once

#include "app/browse_pane.h"
#include "app/directory_list_box.h"
#include "app/file_list_box.h"
#include "app/filter_combo_box.h"
#include "app/tdirmon.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <stdexcept>
#include <string>

namespace quorvane::test {

/// The named child of `root`; a missing control fails the test at once.
template<typename T>
T* control(const QObject& root, const char* name)
{
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control named ") + name);
    return found;
}

/// The controls the window tests drive.
struct WindowControls
{
    explicit WindowControls(const QObject& w)
        : FileListBox1(control<app::FileListBox>(w, "FileListBox1"))
        , DirectoryListBox1(control<app::tDirectoryListBoxSpecial>(w, "DirectoryListBox1"))
        , FilterComboBox1(control<app::FilterComboBox>(w, "FilterComboBox1"))
        , DirMon1(control<app::TDirMon>(w, "DirMon1"))
        , rendir(control<QToolButton>(w, "rendir"))
        , SpeedButton1(control<QToolButton>(w, "SpeedButton1"))
        , StatusPanel0(control<QLabel>(w, "StatusPanel0"))
        , StatusPanel1(control<QLabel>(w, "StatusPanel1"))
        , PopupMenu1(control<QMenu>(w, "PopupMenu1"))
        , Rinomina1(control<QAction>(w, "Rinomina1"))
        , BitBtn1(control<QPushButton>(w, "BitBtn1"))
        , BitBtn3(control<QPushButton>(w, "BitBtn3"))
        , BitBtn4(control<QPushButton>(w, "BitBtn4"))
        , RadioButton1(control<QRadioButton>(w, "RadioButton1"))
        , RadioButton2(control<QRadioButton>(w, "RadioButton2"))
        , CheckBox1(control<QCheckBox>(w, "CheckBox1"))
        , CheckBox3(control<QCheckBox>(w, "CheckBox3"))
        , CheckBox4(control<QCheckBox>(w, "CheckBox4"))
        , CheckBox5(control<QCheckBox>(w, "CheckBox5"))
        , CheckBox6(control<QCheckBox>(w, "CheckBox6"))
        , CheckBox7(control<QCheckBox>(w, "CheckBox7"))
        , CheckBox8(control<QCheckBox>(w, "CheckBox8"))
        , CheckBox9(control<QCheckBox>(w, "CheckBox9"))
        , CheckBox10(control<QCheckBox>(w, "CheckBox10"))
        , CheckBox12(control<QCheckBox>(w, "CheckBox12"))
        , ComboBox1(control<QComboBox>(w, "ComboBox1"))
        , RinominalaDirectory1(control<QAction>(w, "RinominalaDirectory1"))
        , Rinominainformato831(control<QAction>(w, "Rinominainformato831"))
        , NumerazioneFiles1(control<QAction>(w, "NumerazioneFiles1"))
        , RinominadaFile1(control<QAction>(w, "RinominadaFile1"))
        , Gestiscilettereaccentate1(control<QAction>(w, "Gestiscilettereaccentate1"))
        , Noneliminaredellestensione1(control<QAction>(w, "Noneliminaredellestensione1"))
    { }

    app::FileListBox* FileListBox1;
    app::tDirectoryListBoxSpecial* DirectoryListBox1;
    app::FilterComboBox* FilterComboBox1;
    app::TDirMon* DirMon1;
    QToolButton* rendir;
    QToolButton* SpeedButton1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QMenu* PopupMenu1;
    QAction* Rinomina1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox12;
    QComboBox* ComboBox1;
    QAction* RinominalaDirectory1;
    QAction* Rinominainformato831;
    QAction* NumerazioneFiles1;
    QAction* RinominadaFile1;
    QAction* Gestiscilettereaccentate1;
    QAction* Noneliminaredellestensione1;
};

} // namespace quorvane::test
