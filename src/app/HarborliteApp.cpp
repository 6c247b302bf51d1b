#include "app/HarborliteApp.h"

#include "ui/shell/BrandIcon.h"
#include "ui/theme/ApplicationAppearance.h"
#include "ui/theme/MenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>

namespace harborlite {

HarborliteApp::HarborliteApp(DefaultsStore& defaults, QObject* parent)
    : HarborliteApp(defaults, Setup{}, parent)
{
}

HarborliteApp::HarborliteApp(DefaultsStore& defaults, Setup setup, QObject* parent)
    : QObject(parent)
    , model_(std::make_unique<AppModel>(defaults, std::move(setup.model)))
    , window_(std::make_unique<QMainWindow>())
{
    window_->setObjectName(QStringLiteral("mainWindow"));
    window_->setWindowTitle(QStringLiteral("Harborlite"));
    window_->setWindowIcon(brandIcon());
    root_ = new RootView(*model_, std::move(setup.root), window_.get());
    root_->setMinimumSize(kMinimumWidth, kMinimumHeight);
    window_->setCentralWidget(root_);
    buildMenu();
    window_->resize(kDefaultWidth, kDefaultHeight + window_->menuBar()->sizeHint().height());

    tray_ = std::make_unique<TrayItem>(*model_, std::move(setup.tray), std::move(setup.maintenanceTasks));
    connect(tray_.get(), &TrayItem::openWindowRequested, this, &HarborliteApp::showWindow);
    connect(tray_.get(), &TrayItem::quitRequested, qApp, &QCoreApplication::quit);
    connect(tray_.get(), &TrayItem::insertedChanged, this, &HarborliteApp::followTray);
    connect(tray_.get(), &TrayItem::panelClosed, this, &HarborliteApp::followTray);
    connect(&model_->settings(), &Observable::didChange, this, &HarborliteApp::followTheme);
    followTray();
}

HarborliteApp::~HarborliteApp()
{
    tray_.reset();
    window_.reset();
}

void HarborliteApp::buildMenu()
{
    applicationMenu_ = window_->menuBar()->addMenu(tr("Harborlite"));
    applicationMenu_->setObjectName(QStringLiteral("applicationMenu"));
    about_ = applicationMenu_->addAction(tr("About Harborlite"), this, &HarborliteApp::showAbout);
    about_->setMenuRole(QAction::AboutRole);
    checkForUpdates_ =
        applicationMenu_->addAction(tr("Check for Updates\u2026"), this, &HarborliteApp::checkForUpdates);
    checkForUpdates_->setMenuRole(QAction::ApplicationSpecificRole);
    applicationMenu_->addSeparator();
    quit_ = applicationMenu_->addAction(tr("Quit"), qApp, &QCoreApplication::quit);
    quit_->setShortcut(QKeySequence::Quit);
    quit_->setMenuRole(QAction::QuitRole);
    MenuStyle::apply(window_->menuBar());
}

void HarborliteApp::showWindow()
{
    started_ = true;
    const bool appearing = !window_->isVisible();
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (!appearing) {
        return;
    }
    // The start-up tasks; both are safe to run again.
    appliedTheme_.reset();
    followTheme();
    model_->updates().checkIfDue();
}

void HarborliteApp::checkForUpdates()
{
    model_->updates().clearManualResult();
    model_->setShowUpdateSheet(true);
    model_->updates().checkNow();
}

void HarborliteApp::followTheme()
{
    const AppTheme theme = model_->settings().theme();
    if (appliedTheme_ == theme) {
        return;
    }
    appliedTheme_ = theme;
    ApplicationAppearance::apply(theme);
}

void HarborliteApp::followTray()
{
    // With the tray item present, closing the window leaves the application
    // running; without it the window is the only way in.
    QApplication::setQuitOnLastWindowClosed(!tray_->isInserted());
    // A tray that went away while the window was closed would leave the
    // application running out of reach: the window comes back instead, once
    // the panel (if one is open) has been dismissed.
    if (!tray_->isInserted() && !tray_->isPanelOpen() && started_ && !window_->isVisible()) {
        showWindow();
    }
}

void HarborliteApp::showAbout()
{
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, tr("About Harborlite"),
                        tr("Harborlite %1 (%2)")
                            .arg(model_->updates().currentVersion(), QString::number(model_->updates().currentBuild())),
                        QMessageBox::Ok, window_.get());
    box->setIconPixmap(QPixmap::fromImage(brandIconImage(64)));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace harborlite
