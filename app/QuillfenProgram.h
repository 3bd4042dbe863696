#pragma once
// The whole application: every window created once, in a fixed order, the
// windows' links to each other connected, the language chosen and applied,
// and the document named on the command line opened.

#include <QStringList>

#include <memory>

class TForm2;
class TForm3;
class TForm5;
class TForm6;
class TForm7;
class TForm9;
class TForm11;
class TProgressForm;
class TTextSetup1;
class UserDialogs;

// The language identifier of the user's locale, as the system gives it
// (0x405 for Czech).
int UserDefaultLanguageId();

class QuillfenProgram
{
public:
    static constexpr int CzechLanguageId = 0x405;

    // Creates the windows (their texts still in the initial language) and
    // connects them.
    QuillfenProgram();
    ~QuillfenProgram();

    // Reads "Language" from the registry; a missing or unreadable value is
    // replaced by the default of `userLanguageId` and written back. A value
    // that names no language leaves the current one.
    void ChooseLanguage(int userLanguageId);
    // Re-captions every window and refills the designer's lists.
    void ApplyLanguageToAll();
    // Opens the first argument (when there is one) as a document; false
    // when it could not be opened (the user has been told).
    bool OpenCommandLineDocument(const QStringList& arguments);
    // Start-up as a whole: language, captions, the main window shown, the
    // command-line document.
    void Start(const QStringList& arguments, int userLanguageId);

    TForm7& RevisionList() { return *m_form7; }
    TForm3& DataProcessing() { return *m_form3; }
    TForm2& Designer() { return *m_form2; }
    TForm11& Settings() { return *m_form11; }
    TForm5& PrintDialog() { return *m_form5; }
    TForm9& BarcodeWizard() { return *m_form9; }
    TTextSetup1& TextSetup() { return *m_textSetup; }

private:
    void ConnectWindows();
    // The main window has closed and every window has answered its save
    // question: the program ends without asking again.
    void EndProgram();

    // Creation order is the order the windows are made in; the settings
    // dialog goes last, so it writes the registry after the others have gone.
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TTextSetup1> m_textSetup;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TProgressForm> m_progress;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm9> m_form9;
    std::unique_ptr<TForm11> m_form11;
};
