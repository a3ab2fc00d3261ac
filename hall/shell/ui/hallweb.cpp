#include "hall/shell/ui/hallweb.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace velmora::hall {
namespace {

const char* const kHallSchemes[] = {"dialog", "desk", "face",      "color",       "invite",
                                    "prop",   "addfriend", "game", "velmora-link"};
const QString kLinkScheme = QStringLiteral("velmora-link:");

// Followed links never reach the handler (the page refuses them first); one that does, from a
// sub-resource say, is denied.
class DenyingSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
};

void installSchemeHandlers(QWebEngineProfile* profile) {
    static bool done = false;
    if (done)
        return;
    done = true;
    auto* handler = new DenyingSchemeHandler(profile);
    for (const char* scheme : kHallSchemes)
        profile->installUrlSchemeHandler(scheme, handler);
}

const char kLinkScript[] = R"JS(
(function(){
  var re=/^\s*(dialog|desk|face|color|invite|prop|addfriend|game):/i;
  document.addEventListener('click',function(e){
    if(e.defaultPrevented||e.button!==0)return;
    var n=e.target;
    while(n&&!(n.tagName&&n.tagName.toLowerCase()==='a'&&n.hasAttribute('href')))n=n.parentNode;
    if(!n)return;
    var h=n.getAttribute('href');
    if(!re.test(h))return;
    e.preventDefault();
    window.location.href='velmora-link:'+encodeURIComponent(h.replace(/^\s+/,''));
  },false);
})();
)JS";

const char kTextFieldScript[] = R"JS(
(function(){
  function f(e){var t=(e.target&&e.target.tagName||'').toLowerCase();
    if(t!=='textarea'&&t!=='input')e.preventDefault();}
  document.addEventListener('contextmenu',f,true);
  document.addEventListener('selectstart',f,true);
})();
)JS";

QWebEngineScript makeScript(const char* name, const char* source,
                            QWebEngineScript::InjectionPoint point) {
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setSourceCode(QString::fromLatin1(source));
    script.setInjectionPoint(point);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

class InertPaneFilter : public QObject {
public:
    InertPaneFilter(QWebEngineView* view, bool mouseMove)
        : QObject(view), m_view(view), m_mouseMove(mouseMove) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != m_view && !m_view->isAncestorOf(widget)))
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        case QEvent::MouseMove:
            return m_mouseMove;
        default:
            return false;
        }
    }

private:
    QWebEngineView* m_view;
    bool m_mouseMove;
};

}  // namespace

void RegisterHallSchemes() {
    for (const char* name : kHallSchemes) {
        QWebEngineUrlScheme scheme(name);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

QString LinkFromUrl(const QUrl& url) {
    const QString encoded = url.toString(QUrl::FullyEncoded);
    if (encoded.startsWith(kLinkScheme, Qt::CaseInsensitive))
        return QUrl::fromPercentEncoding(encoded.mid(kLinkScheme.size()).toLatin1());
    return url.toString();
}

HallWebPage::HallWebPage(QObject* parent) : QWebEnginePage(parent) {
    installSchemeHandlers(profile());
    scripts().insert(makeScript("velmora-links", kLinkScript, QWebEngineScript::DocumentReady));
}

void HallWebPage::installTextFieldFilter() {
    scripts().insert(
        makeScript("velmora-textfields", kTextFieldScript, QWebEngineScript::DocumentReady));
}

bool HallWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!navigationFilter)
        return true;
    return navigationFilter(LinkFromUrl(url), type, isMainFrame);
}

QWebEnginePage* HallWebPage::createWindow(WebWindowType) {
    return newWindow ? newWindow() : nullptr;
}

void MakePaneInert(QWebEngineView* view, bool alsoMouseMove) {
    view->setContextMenuPolicy(Qt::NoContextMenu);
    qApp->installEventFilter(new InertPaneFilter(view, alsoMouseMove));
}

}  // namespace velmora::hall
