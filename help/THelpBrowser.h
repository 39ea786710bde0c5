#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <chrono>
#include <vector>

// The help view: shows the built-in help pages, keeps its own back/forward history and tells its
// owner about every navigation. The pages are static (no script, no forms), so a rich-text view
// serves them; links are not followed by the text view itself but go through Navigate, so that each
// one passes BeforeNavigate2 first.
//
// Only pages of the program's resources (qrc:) are shown. A mailto: link is handed to the desktop's
// mail program (OpenOnDesktop, whose message box, should there be no mail program, takes
// MessageCaption) and the view stays on its page; any other address, or a page that cannot be
// read, leaves the view as it was.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    // The ready state: the view has shown a document once it is LOADED or more.
    enum : int {
        READYSTATE_UNINITIALIZED = 0,
        READYSTATE_LOADING = 1,
        READYSTATE_LOADED = 2,
        READYSTATE_INTERACTIVE = 3,
        READYSTATE_COMPLETE = 4
    };
    // The commands whose availability CommandStateChange reports.
    enum : int { CSC_NAVIGATEFORWARD = 1, CSC_NAVIGATEBACK = 2 };

    explicit THelpBrowser(QWidget* parent = nullptr);
    ~THelpBrowser() override;

    // Goes to the URL, resolved against the current page. Navigating to the page already shown
    // loads it again without adding a history entry.
    void Navigate(const QUrl& url);
    // One step back or forward in the history; false when there is no such step, or when the step
    // was cancelled or could not be loaded.
    bool GoBack();
    bool GoForward();

    // The caption of the view's message boxes.
    QString MessageCaption;

    int ReadyState() const { return readyState_; }
    bool HasDocument() const { return readyState_ >= READYSTATE_LOADED; }
    QUrl LocationURL() const { return current_.url; }
    bool CanGoBack() const { return !back_.empty(); }
    bool CanGoForward() const { return !forward_.empty(); }

    // Gives the view the keyboard focus, so that the keys scroll the page; nothing without a document.
    void TakeFocus();

  signals:
    // Before every navigation (links, Navigate, back and forward): setting Cancel keeps the view
    // where it is.
    void BeforeNavigate2(const QUrl& URL, bool& Cancel);
    // After a navigation, once the new document is shown.
    void NavigateComplete2(const QUrl& URL);
    // The availability of back (CSC_NAVIGATEBACK) and forward (CSC_NAVIGATEFORWARD), sent for both
    // after every navigation, the first one included.
    void CommandStateChange(int Command, bool Enable);

  protected:
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    struct Entry {
        QUrl url;
        int scroll = 0;
    };
    enum class Move { New, Back, Forward };

    // Takes the URL by value: it may be an entry of the history that the step removes.
    bool Go(QUrl target, Move move, int scroll);
    void LinkActivated(const QUrl& link);

    int readyState_ = READYSTATE_UNINITIALIZED;
    Entry current_;
    std::vector<Entry> back_, forward_;
};

// Removes the border around the page: the view's frame and the border of the page's root frame.
// Nothing when there is no view or it holds no document.
void HideBodyBorder(THelpBrowser* Browser);

// The rules of a style element stand inside an HTML comment, "<!--" and "-->", which a browser
// skips as tokens of the style sheet; the rich-text engine would take the whole sheet for a comment
// and drop it. So the markers are taken out of every style element (any case, with attributes)
// before a page is shown; the text keeps its length and everything outside style elements.
QString WithStyleCommentsOpened(QString html);

// Navigates to the URL and processes the application's pending events, a pass at a time, until the
// view reports a loaded document. Gives up after the limit, so that a view that never loads cannot
// hold up the program; returns whether the page has loaded.
bool NavigateAndWait(THelpBrowser& browser, const QUrl& url,
                     std::chrono::milliseconds limit = std::chrono::seconds(3));
