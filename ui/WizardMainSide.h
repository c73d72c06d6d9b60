#pragma once

#include <QString>

// What the setup wizard asks of the rest of the program: the credential check, the main
// window's locator list and address lookup, the machine address, the application directory,
// and the restart of the main window from the files the wizard wrote. The application
// implements it; tests record the calls.
class WizardMainSide
{
public:
    virtual ~WizardMainSide();

    // Loads the credential check, shown and not modal; it reads the wizard's name and password.
    virtual void startCredentialCheck() = 0;
    // Step 3: the main window's locators become the four defaults and a lookup starts; its
    // outcome arrives through the wizard's setRemoteText().
    virtual void useDefaultLocatorsAndLookUp() = 0;
    virtual QString machineAddress() const = 0;
    // The application directory, ending with the separator.
    virtual QString configPath() const = 0;
    // After the files are written: the splash window, a fresh main window loaded from them,
    // and the wizard closed.
    virtual void restartFromSavedSettings() = 0;
    // Exit: the notification-area icon goes before the program ends.
    virtual void RemoveTrayIcon() = 0;
};
