#include "window/programwindow.h"

#include <QMenu>

#include "article/articlecheck.h"
#include "model/texts.h"
#include "platform/folders.h"
#include "window/aids/articlechecklist.h"
#include "window/aids/articleview.h"
#include "window/aids/formatting.h"
#include "window/aids/livespelling.h"
#include "window/aids/searchbar.h"
#include "window/form/accesskeys.h"
#include "window/form/writingmode.h"
#include "window/files/exportcommands.h"
#include "window/files/recentfiles.h"

namespace vinkring {

ProgramWindow::ProgramWindow(PlatformServices& services, SpellingDictionary* dictionary, Form1::Pages pages)
    : services_(services), dictionary_(dictionary),
      form_(std::make_unique<Form1>(services, nullptr, Form1::Pages::AfterFirstPaint))
{
    Form1& form = *form_;
    new ImmediateAccessKeys(&form);
    QObject::connect(&form, &Form1::pagesBuilt, &form, [this] { composeAids(); });

    // "Bestand": the export and the import, then "Recente bestanden".
    // Their notes say, as Klembord's does, when the markup still has findings.
    exports_ = std::make_unique<ExportCommands>(form.session(), services_, &form, [&form](const QString& done) {
        form.sayBriefly(done, [doc = form.document()] { return markupWarning(doc); });
    });
    QMenu* file = form.fileMenu();
    file->addSeparator();
    QAction* exportAction = file->addAction(toQString(texts::kMenuExport), &form, [this] { exports_->exportArticle(); });
    exportAction->setObjectName(QStringLiteral("mnuBestandExporteren"));
    QAction* importAction = file->addAction(toQString(texts::kMenuImport), &form, [this] { exports_->importArticle(); });
    importAction->setObjectName(QStringLiteral("mnuBestandImporteren"));
    recent_ = std::make_unique<RecentFiles>(file, &form, form.session(), services_);

    if (pages == Form1::Pages::AtOnce)
        form.complete();
}

// The aids go before the window, whose fields and session they use.
ProgramWindow::~ProgramWindow()
{
    check_.reset();
    search_.reset();
    formatting_.reset();
    view_.reset();
    spelling_.reset();
    recent_.reset();
    exports_.reset();
}

void ProgramWindow::composeAids()
{
    Form1& form = *form_;
    ArticleFields& fields = form.fields();
    DocumentSession& session = form.session();

    // Spelling as you type and the live view of the article, in "Beeld".
    spelling_ = std::make_unique<LiveSpelling>(dictionary_, fields, &form);
    view_ = std::make_unique<ArticleView>([&form]() -> const ArticleDocument& { return form.document(); }, &form,
                                          services_.folders.configFolder());
    view_->follow(fields);
    view_->setKeptClear([&form] { return form.keptClearAreas(); });
    QObject::connect(&session, &DocumentSession::documentChanged, view_.get(), &ArticleView::changed);
    QObject::connect(&session, &DocumentSession::documentReplaced, view_.get(), &ArticleView::changed);
    QObject::connect(view_.get(), &ArticleView::fieldClicked, &form, &Form1::goToField);
    form.viewMenu()->addAction(spelling_->toggleAction());
    form.viewMenu()->addAction(view_->toggleAction());
    form.viewMenu()->addAction(form.writingMode().action());

    // "Opmaak"; a field's context menu: the spelling items, then these, then its own.
    formatting_ = std::make_unique<Formatting>(fields, services_.clipboard, form.formatMenu(), &form);
    LiveSpelling* spelling = spelling_.get();
    Formatting* formatting = formatting_.get();
    fields.addMenuContributor([spelling](QMenu& menu, QAction* before, std::size_t field, qsizetype offset) {
        spelling->addMenuItems(menu, before, field, offset);
    });
    fields.addMenuContributor([formatting](QMenu& menu, QAction* before, std::size_t field, qsizetype) {
        formatting->addMenuItems(menu, before, field);
    });

    // "Zoeken" and its bar, for which the window makes room.
    search_ = std::make_unique<SearchBar>(session, fields, form.history(), form.linksEditor(),
                                          [&form](int page) { form.showPage(page); }, &form, form.searchMenu());
    QObject::connect(search_.get(), &SearchBar::heightChanged, &form, &Form1::fitToScreen);
    SearchBar* search = search_.get();
    form.addKeyTaker([formatting](const QKeyEvent& key) { return formatting->takeKey(key); });
    form.addKeyTaker([search](const QKeyEvent& key) { return search->takeKey(key); });

    // "Artikel controleren", in "Beeld": the post limit of the live view, the spelling's underlines.
    ArticleView* view = view_.get();
    check_ = std::make_unique<ArticleCheckList>(
        form, [view, spelling] { return CheckContext{view->postLimit(), spelling->doubtfulCount()}; });
    ArticleCheckList* check = check_.get();
    QObject::connect(&session, &DocumentSession::documentChanged, check, &ArticleCheckList::changed);
    QObject::connect(&session, &DocumentSession::documentReplaced, check, &ArticleCheckList::changed);
    QObject::connect(view, &ArticleView::postLimitChanged, check, &ArticleCheckList::changed);
    QObject::connect(spelling, &LiveSpelling::underlinesSettled, check, &ArticleCheckList::changed);
    QObject::connect(check, &ArticleCheckList::wholePostChosen, view, [view](CheckKind kind) {
        if (kind == CheckKind::PostTooLong)
            view->show();
    });
    form.viewMenu()->addAction(check->openAction());
    form.addKeyTaker([check](const QKeyEvent& key) { return check->takeKey(key); });
}

LiveSpelling& ProgramWindow::liveSpelling()
{
    form_->complete();
    return *spelling_;
}

ArticleView& ProgramWindow::articleView()
{
    form_->complete();
    return *view_;
}

Formatting& ProgramWindow::formatting()
{
    form_->complete();
    return *formatting_;
}

ArticleCheckList& ProgramWindow::articleCheck()
{
    form_->complete();
    return *check_;
}

SearchBar& ProgramWindow::searchBar()
{
    form_->complete();
    return *search_;
}

}  // namespace vinkring
