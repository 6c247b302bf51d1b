#include "platform/CryptoLibrary.h"
#include "shared/ThreadHandOff.h"
#include "support/OrdinaryUser.h"
#include "support/SkippedExit.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QThreadPool>
#if HARBORLITE_TEST_APPLICATION == 2
#include <QApplication>
#elif HARBORLITE_TEST_APPLICATION == 1
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

#include <sys/stat.h>

// Every test executable starts here, so that however it is run (through CTest
// or by hand) no test can reach the real home: HOME is an empty folder of the
// build tree, the XDG folders follow it and Qt's runtime folder lives there too.
// Layers whose tests need queued calls or painting get an application object on
// the main thread for the whole run, like the application's own.
int main(int argc, char** argv)
{
    harborlite::platform::keepCryptoStateAtExit();
    harborlite::test::becomeOrdinaryUserWhenAsked();
    const QString home = QStringLiteral(HARBORLITE_TEST_HOME);
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        qunsetenv(name);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
#if HARBORLITE_TEST_APPLICATION == 2
    QApplication application(argc, argv);
    // Painting hands large images to Qt's global pool, whose threads the thread
    // sanitizer should see only in jobs of ours.
    harborlite::ThreadHandOff::enterEveryThread(*QThreadPool::globalInstance());
#elif HARBORLITE_TEST_APPLICATION == 1
    QCoreApplication application(argc, argv);
#endif
    const int result = RUN_ALL_TESTS();
    // A run whose tests passed but some skipped tells CTest so: it is shown as
    // skipped rather than passed.
    if (result == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        return harborlite::test::kSkippedExit;
    }
    return result;
}
