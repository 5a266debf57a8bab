#pragma once

#include <QApplication>
#include <QTranslator>

namespace tt {

// The application: one per process. It lets only one copy run per user (a later
// start hands its folder argument to the running copy), loads Qt's own
// translations for the system's language (standard buttons, the Save As dialog)
// and runs the main window, on the folder named on the command line if any, until
// it closes.
class CTunetitlerApp {
  public:
    // The application name is the program file's base name, as Qt sets it: it
    // captions the message boxes and names the settings file.
    CTunetitlerApp(int& argc, char** argv);

    // Runs the program; returns its exit status: 0 also when another copy was
    // brought to the front instead, 1 when another copy runs but does not answer.
    int InitInstance();

  private:
    void LoadQtTranslations();

    int& m_argc;  // Qt's options are taken out once m_app is made
    char** m_argv;
    QApplication m_app;
    QTranslator m_qtTranslator;
};

}  // namespace tt
