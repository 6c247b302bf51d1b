#include "quorvanekit/UpdateChecker.h"

#include "FeedServer.h"
#include "platform/Clock.h"
#include "shared/MemoryDefaults.h"
#include "support/EventWait.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace harborlite;
using namespace std::chrono_literals;
using platform::OperatingSystemVersion;
using Framing = test::FeedServer::Response::Framing;
using Kind = UpdateChecker::ManualResult::Kind;

namespace {

const QByteArray kFeedPath = "/api/v1/apps/harborlite/latest.json";
const QString kAutomaticKey = QStringLiteral("QuorvaneKit.update.automaticallyChecks");
const QString kLastCheckKey = QStringLiteral("QuorvaneKit.update.lastCheck");
const QString kSkippedKey = QStringLiteral("QuorvaneKit.update.skippedBuild");
constexpr qint64 kHour = 3600;
constexpr qint64 kStart = 1'800'000'000;

QByteArray document(qint64 build, const char* minimumSystemVersion = nullptr)
{
    QJsonObject object{
        {QStringLiteral("version"), QStringLiteral("2.") + QString::number(build)},
        {QStringLiteral("build"), build},
        {QStringLiteral("downloadUrl"), QStringLiteral("https://example.org/download/") + QString::number(build)},
        {QStringLiteral("notes"), QJsonArray{QStringLiteral("Faster scans")}},
    };
    if (minimumSystemVersion) {
        object.insert(QStringLiteral("minimumSystemVersion"), QString::fromUtf8(minimumSystemVersion));
    }
    return QJsonDocument(object).toJson();
}

AppUpdate release(qint64 build)
{
    return std::get<AppUpdate>(AppUpdate::decode(document(build)));
}

// Runs the event loop until the operation calls the completion it is given.
template <typename Start>
void await(Start start)
{
    bool finished = false;
    start([&] { finished = true; });
    test::waitFor([&] { return finished; });
}

class UpdateCheckerTest : public testing::Test {
protected:
    UpdateCheckerTest() { setClock(kStart); }

    void setClock(qint64 secondsSince1970)
    {
        clock_.reset();
        clock_.emplace(platform::clock(), QDateTime::fromSecsSinceEpoch(secondsSince1970, Qt::UTC));
    }

    void serve(test::FeedServer::Response response) { server.serve(kFeedPath, std::move(response)); }
    void serveBuild(qint64 build, const char* minimum = nullptr) { serve({200, document(build, minimum)}); }

    std::unique_ptr<UpdateChecker> makeChecker(const QJsonObject& bundle, OperatingSystemVersion system = {13, 0, 0},
                                               const QUrl& site = {})
    {
        UpdateChecker::Settings settings{limits, [this](const QUrl& url) {
                                             opened.append(url);
                                             return openerAccepts;
                                         }};
        return std::make_unique<UpdateChecker>(
            QuorvaneConfiguration(QStringLiteral("HarborLite"), site.isEmpty() ? server.site() : site), bundle,
            defaults, system, settings);
    }

    std::unique_ptr<UpdateChecker> makeChecker(const char* build = "100", OperatingSystemVersion system = {13, 0, 0})
    {
        return makeChecker(QJsonObject{{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.0")},
                                       {QStringLiteral("CFBundleVersion"), QString::fromUtf8(build)}},
                           system);
    }

    static void checkNow(UpdateChecker& checker)
    {
        await([&](auto done) { checker.checkNow(done); });
    }

    static void checkIfDue(UpdateChecker& checker)
    {
        await([&](auto done) { checker.checkIfDue(done); });
    }

    static UpdateChecker::CheckResult check(UpdateChecker& checker, bool ignoringSkip)
    {
        UpdateChecker::CheckResult result;
        await([&](auto done) {
            checker.check(ignoringSkip, [&, done](UpdateChecker::CheckResult outcome) {
                result = std::move(outcome);
                done();
            });
        });
        return result;
    }

    qsizetype lastCheckWrites() const { return defaults.writes().count(kLastCheckKey); }

    test::FeedServer server;
    MemoryDefaults defaults;
    FeedLimits limits{30s, 1024 * 1024};
    QList<QUrl> opened;
    bool openerAccepts = true;

private:
    std::optional<platform::Seam<QDateTime>::Override> clock_;
};

// -- the running application -----------------------------------------------

struct BundleCase {
    const char* name;
    QJsonObject information;
    const char* version;
    qint64 build;
};

void PrintTo(const BundleCase& row, std::ostream* os)
{
    *os << row.name;
}

class CurrentRelease : public testing::TestWithParam<BundleCase> { };

TEST_P(CurrentRelease, ComesFromTheBundleInformation)
{
    MemoryDefaults defaults;
    const UpdateChecker checker(QuorvaneConfiguration::harborlite(), GetParam().information, defaults, {});
    EXPECT_EQ(checker.currentVersion(), QString::fromUtf8(GetParam().version));
    EXPECT_EQ(checker.currentBuild(), GetParam().build);
}

QJsonObject bundle(QJsonValue version, QJsonValue build)
{
    return {{QStringLiteral("CFBundleShortVersionString"), version}, {QStringLiteral("CFBundleVersion"), build}};
}

INSTANTIATE_TEST_SUITE_P(
    Bundles, CurrentRelease,
    testing::Values(BundleCase{"Plain", bundle(QStringLiteral("1.4"), QStringLiteral("120")), "1.4", 120},
                    BundleCase{"DottedBuild", bundle(QStringLiteral("1.4"), QStringLiteral("1.2.3")), "1.4", 0},
                    BundleCase{"SignedBuild", bundle(QStringLiteral("1.4"), QStringLiteral("+42")), "1.4", 42},
                    BundleCase{"NegativeBuild", bundle(QStringLiteral("1.4"), QStringLiteral("-3")), "1.4", -3},
                    BundleCase{"HugeBuild", bundle(QStringLiteral("1.4"), QStringLiteral("99999999999999999999")),
                               "1.4", 0},
                    BundleCase{"NumbersInsteadOfText", bundle(2, 120), "0", 0},
                    BundleCase{"Nothing", QJsonObject{}, "0", 0}),
    [](const testing::TestParamInfo<BundleCase>& row) { return std::string(row.param.name); });

TEST(MainBundle, NamesThisBuild)
{
    const QJsonObject information = UpdateChecker::mainBundleInformation();
    EXPECT_FALSE(information.value(QStringLiteral("CFBundleShortVersionString")).toString().isEmpty());
    EXPECT_TRUE(platform::decimalInteger(information.value(QStringLiteral("CFBundleVersion")).toString()));
}

struct RunCase {
    OperatingSystemVersion system;
    const char* minimum; // nullptr: none given
    bool runs;
};

void PrintTo(const RunCase& row, std::ostream* os)
{
    *os << (row.minimum ? row.minimum : "no minimum");
}

class CanRun : public testing::TestWithParam<RunCase> { };

TEST_P(CanRun, ComparesMajorThenMinorThenPatch)
{
    MemoryDefaults defaults;
    const UpdateChecker checker(QuorvaneConfiguration::harborlite(), {}, defaults, GetParam().system);
    AppUpdate update = release(2);
    if (GetParam().minimum) {
        update.minimumSystemVersion = QString::fromUtf8(GetParam().minimum);
    }
    EXPECT_EQ(checker.canRun(update), GetParam().runs) << (GetParam().minimum ? GetParam().minimum : "none");
}

INSTANTIATE_TEST_SUITE_P(Versions, CanRun,
                         testing::Values(RunCase{{0, 0, 0}, nullptr, true}, RunCase{{13, 0, 0}, "13", true},
                                         RunCase{{12, 9, 9}, "13", false}, RunCase{{14, 1, 5}, "14.2", false},
                                         RunCase{{14, 2, 0}, "14.2", true}, RunCase{{13, 0, 0}, "12.6.1", true},
                                         RunCase{{13, 3, 9}, "13.x.4", false}, RunCase{{13, 4, 0}, "13.x.4", true},
                                         RunCase{{0, 0, 0}, "abc", true}, RunCase{{12, 0, 0}, "12.0.1", false}));

// -- checks that succeed ----------------------------------------------------

TEST_F(UpdateCheckerTest, ManualCheckOffersANewerBuild)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    EXPECT_EQ(checker->feedURL().path().toUtf8(), kFeedPath);

    bool finished = false;
    checker->checkNow([&] { finished = true; });
    EXPECT_TRUE(checker->isChecking());
    test::waitFor([&] { return finished; });

    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::updateAvailable());
    EXPECT_EQ(checker->available(), release(121));
    const std::optional<QJsonValue> stored = defaults.object(kLastCheckKey);
    ASSERT_TRUE(stored && stored->isDouble());
    EXPECT_EQ(stored->toDouble(), double(kStart));

    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].method, QByteArray("GET"));
    EXPECT_EQ(server.requests()[0].path, kFeedPath);
}

TEST_F(UpdateCheckerTest, AFollowedRedirectWithinTheWebIsAccepted)
{
    serve({302, {}, {{"Location", "/moved/latest.json"}}});
    server.serve("/moved/latest.json", {200, document(121)});
    auto checker = makeChecker("120");
    checkNow(*checker);
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::updateAvailable());
    EXPECT_EQ(server.requests().size(), 2);
}

struct RedirectCase {
    const char* name;
    bool feedOverTls;
    // Each hop's Location, with "{plain}" and "{tls}" standing for the two servers' sites.
    std::vector<QByteArray> hops;
    bool accepted;
};

void PrintTo(const RedirectCase& row, std::ostream* os)
{
    *os << row.name;
}

class Redirects : public UpdateCheckerTest, public testing::WithParamInterface<RedirectCase> { };

// Whether a redirect may be followed depends on where the request stands when
// it is redirected, which is the feed location only at the first hop.
TEST_P(Redirects, AreFollowedOnlyWithinTheWebAndNeverFromHttpsDownToHttp)
{
    test::FeedServer tls(test::FeedServer::Transport::tls);
    const auto location = [&](QByteArray text) {
        text.replace("{plain}", server.site().toEncoded());
        text.replace("{tls}", tls.site().toEncoded());
        return text;
    };
    const auto serverOf = [&](const QByteArray& site) -> test::FeedServer& { return site == "{tls}" ? tls : server; };
    const std::vector<QByteArray>& hops = GetParam().hops;
    const auto hopPath = [](std::size_t i) { return "/hop" + QByteArray::number(qsizetype(i)); };
    test::FeedServer& feed = GetParam().feedOverTls ? tls : server;
    feed.serve(kFeedPath, {302, {}, {{"Location", location(hops[0]) + hopPath(0)}}});
    for (std::size_t i = 0; i + 1 < hops.size(); ++i) {
        serverOf(hops[i]).serve(hopPath(i), {302, {}, {{"Location", location(hops[i + 1]) + hopPath(i + 1)}}});
    }
    serverOf(hops.back()).serve(hopPath(hops.size() - 1), {200, document(121)});

    auto checker =
        makeChecker(QJsonObject{{QStringLiteral("CFBundleVersion"), QStringLiteral("120")}}, {13, 0, 0}, feed.site());
    const UpdateChecker::CheckResult result = check(*checker, true);
    if (GetParam().accepted) {
        ASSERT_TRUE(std::holds_alternative<std::optional<AppUpdate>>(result));
        EXPECT_EQ(std::get<std::optional<AppUpdate>>(result), release(121));
    } else {
        ASSERT_TRUE(std::holds_alternative<FeedError>(result));
        EXPECT_EQ(std::get<FeedError>(result).kind, FeedError::Kind::badServerResponse);
    }
}

INSTANTIATE_TEST_SUITE_P(Hops, Redirects,
                         testing::Values(RedirectCase{"HttpsToHttps", true, {"{tls}"}, true},
                                         RedirectCase{"HttpToHttps", false, {"{tls}"}, true},
                                         RedirectCase{"HttpsDownToHttp", true, {"{plain}"}, false},
                                         RedirectCase{
                                             "HttpUpToHttpsThenDownToHttp", false, {"{tls}", "{plain}"}, false},
                                         RedirectCase{"HttpsToHttpsThenDownToHttp", true, {"{tls}", "{plain}"}, false}),
                         [](const testing::TestParamInfo<RedirectCase>& row) { return std::string(row.param.name); });

struct NothingCase {
    const char* name;
    QByteArray document;
};

void PrintTo(const NothingCase& row, std::ostream* os)
{
    *os << row.name;
}

class NothingQualifies : public UpdateCheckerTest, public testing::WithParamInterface<NothingCase> { };

TEST_P(NothingQualifies, EndsUpToDateAndClearsTheEarlierOffer)
{
    serveBuild(121);
    auto checker = makeChecker("120", {13, 0, 0});
    checkNow(*checker);
    ASSERT_TRUE(checker->available());

    serve({200, GetParam().document});
    setClock(kStart + kHour);
    checker->clearManualResult();
    EXPECT_FALSE(checker->lastManualResult());
    checkNow(*checker);

    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::upToDate());
    EXPECT_FALSE(checker->available());
    EXPECT_EQ(defaults.doubleValue(kLastCheckKey), double(kStart + kHour));
}

INSTANTIATE_TEST_SUITE_P(Documents, NothingQualifies,
                         testing::Values(NothingCase{"EqualBuild", document(120)},
                                         NothingCase{"OlderBuild", document(90)},
                                         NothingCase{"SystemTooOld", document(125, "13.1")}),
                         [](const testing::TestParamInfo<NothingCase>& row) { return std::string(row.param.name); });

TEST_F(UpdateCheckerTest, ASkippedBuildIsOfferedOnlyWhenAskedOrWhenANewerOneComes)
{
    defaults.setValue(kSkippedKey, 120);
    serveBuild(120);
    auto checker = makeChecker("100");

    const auto automatic = check(*checker, false);
    ASSERT_TRUE(std::holds_alternative<std::optional<AppUpdate>>(automatic));
    EXPECT_FALSE(std::get<std::optional<AppUpdate>>(automatic));
    EXPECT_FALSE(checker->available());
    EXPECT_EQ(lastCheckWrites(), 1);

    checkNow(*checker);
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::updateAvailable());
    EXPECT_EQ(checker->available(), release(120));

    serveBuild(121);
    const auto newer = check(*checker, false);
    ASSERT_TRUE(std::holds_alternative<std::optional<AppUpdate>>(newer));
    EXPECT_EQ(std::get<std::optional<AppUpdate>>(newer), release(121));
    EXPECT_EQ(checker->available(), release(121));
}

// -- checks that fail -------------------------------------------------------

QByteArray enormousDocument()
{
    QByteArray json = document(121);
    json.insert(1, QByteArray(8 * 1024 * 1024, ' '));
    return json;
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xffffffffU;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320U & (0U - (crc & 1U)));
        }
    }
    return ~crc;
}

void appendLittleEndian(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        out.append(char((value >> (8 * i)) & 0xffU));
    }
}

// The gzip form of the data: qCompress's zlib stream without its length,
// header and checksum, framed as gzip.
QByteArray gzip(const QByteArray& data)
{
    const QByteArray zlib = qCompress(data, 9);
    QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
    out.append(zlib.mid(6, zlib.size() - 10));
    appendLittleEndian(out, crc32(data));
    appendLittleEndian(out, quint32(data.size()));
    return out;
}

struct FailureCase {
    const char* name;
    test::FeedServer::Response response;
    FeedError::Kind kind;
};

void PrintTo(const FailureCase& row, std::ostream* os)
{
    *os << row.name;
}

class FailedCheck : public UpdateCheckerTest, public testing::WithParamInterface<FailureCase> { };

TEST_P(FailedCheck, ReportsTheErrorAndChangesNothing)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkNow(*checker);
    ASSERT_EQ(checker->available(), release(121));

    serve(GetParam().response);
    setClock(kStart + 48 * kHour);
    const UpdateChecker::CheckResult result = check(*checker, true);
    ASSERT_TRUE(std::holds_alternative<FeedError>(result));
    const FeedError& error = std::get<FeedError>(result);
    EXPECT_EQ(error.kind, GetParam().kind);
    EXPECT_FALSE(error.description.isEmpty());

    checkNow(*checker);
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::failed(error.description));
    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(checker->available(), release(121));
    EXPECT_EQ(defaults.doubleValue(kLastCheckKey), double(kStart));
    EXPECT_EQ(lastCheckWrites(), 1);
}

using Response = test::FeedServer::Response;
constexpr auto bad = FeedError::Kind::badServerResponse;
constexpr auto corrupted = FeedError::Kind::dataCorrupted;

INSTANTIATE_TEST_SUITE_P(
    Responses, FailedCheck,
    testing::Values(
        FailureCase{"NotFoundWithADocument", Response{404, document(130)}, bad},
        FailureCase{"ServerError", Response{500, "oops"}, bad},
        FailureCase{"NotModified", Response{304, document(130)}, bad},
        FailureCase{"RedirectToAnotherScheme", Response{302, {}, {{"Location", "ftp://127.0.0.1/latest.json"}}}, bad},
        FailureCase{"RedirectToAFile", Response{301, {}, {{"Location", "file:///etc/passwd"}}}, bad},
        FailureCase{"RedirectWithoutLocation", Response{302, document(130)}, bad},
        FailureCase{"TruncatedJson", Response{200, document(130).left(40)}, corrupted},
        FailureCase{"WrongTypes", Response{200, R"({"version": "2", "build": "130", "downloadUrl": "https://e.org"})"},
                    corrupted},
        FailureCase{"MissingDownload", Response{200, R"({"version": "2", "build": 130})"},
                    FeedError::Kind::valueMissing},
        FailureCase{"EnormousBody", Response{200, enormousDocument(), {}, Framing::untilClose}, corrupted},
        FailureCase{"GzipBodyInflatingPastTheCap",
                    Response{200, gzip(QByteArray(64 << 20, ' ') + document(130)), {{"Content-Encoding", "gzip"}}},
                    corrupted},
        FailureCase{"EnormousDeclaredLength", Response{200, document(130), {}, Framing::contentLength, 1LL << 40},
                    corrupted},
        FailureCase{"BodyCutShort", Response{200, document(130).left(40), {}, Framing::contentLength, 4000},
                    FeedError::Kind::transport}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

// The body is asked for as stored: a compressed answer would escape the size cap.
TEST_F(UpdateCheckerTest, AsksForTheBodyUncompressed)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkNow(*checker);
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::updateAvailable());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests()[0].head.contains("\r\nAccept-Encoding: identity\r\n"))
        << server.requests()[0].head.toStdString();
}

TEST_F(UpdateCheckerTest, ASilentServerTimesOut)
{
    serve({200, {}, {}, Framing::silent});
    limits.timeLimit = 50ms;
    auto checker = makeChecker("120");
    checkNow(*checker);
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::failed(FeedError::timedOut().description));
    EXPECT_FALSE(checker->isChecking());
    EXPECT_TRUE(defaults.writes().isEmpty());
}

TEST_F(UpdateCheckerTest, AnUnreachableServerIsATransportError)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    QUrl site = server.site();
    site.setPort(closed.serverPort());
    closed.close();

    auto checker = makeChecker(bundle(QStringLiteral("1.0"), QStringLiteral("100")), {13, 0, 0}, site);
    checkNow(*checker);
    ASSERT_TRUE(checker->lastManualResult());
    EXPECT_EQ(checker->lastManualResult()->kind, Kind::failed);
    EXPECT_FALSE(checker->lastManualResult()->description.isEmpty());
    EXPECT_FALSE(defaults.object(kLastCheckKey));
}

TEST_F(UpdateCheckerTest, ACheckerReleasedMidRequestReportsNothing)
{
    serve({200, {}, {}, Framing::silent});
    auto checker = makeChecker("120");
    bool reported = false;
    checker->checkNow([&] { reported = true; });
    test::waitFor([&] { return !server.requests().isEmpty(); });
    checker.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(reported);
    EXPECT_TRUE(defaults.writes().isEmpty());
}

// -- the daily rule ---------------------------------------------------------

TEST_F(UpdateCheckerTest, FirstLaunchChecksAtOnce)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkIfDue(*checker);
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(checker->available(), release(121));
    EXPECT_FALSE(checker->lastManualResult());
    EXPECT_EQ(defaults.doubleValue(kLastCheckKey), double(kStart));
}

struct AgeCase {
    const char* name;
    qint64 ageSeconds;
    bool checks;
};

void PrintTo(const AgeCase& row, std::ostream* os)
{
    *os << row.name;
}

class DailyRule : public UpdateCheckerTest, public testing::WithParamInterface<AgeCase> { };

TEST_P(DailyRule, ChecksOnceTheLastSuccessIsADayOld)
{
    serveBuild(121);
    defaults.setValue(kLastCheckKey, double(kStart - GetParam().ageSeconds));
    auto checker = makeChecker("120");
    checkIfDue(*checker);
    EXPECT_EQ(server.requests().size(), GetParam().checks ? 1 : 0);
    EXPECT_EQ(lastCheckWrites(), GetParam().checks ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Ages, DailyRule,
                         testing::Values(AgeCase{"TwentyThreeHours", 23 * kHour, false},
                                         AgeCase{"JustUnderADay", 24 * kHour - 1, false},
                                         AgeCase{"ADay", 24 * kHour, true}, AgeCase{"AWeek", 7 * 24 * kHour, true},
                                         AgeCase{"ClockSetBack", -kHour, false}),
                         [](const testing::TestParamInfo<AgeCase>& row) { return std::string(row.param.name); });

// A build without an update site asks nobody, on its own or when asked, and
// says so rather than failing.
TEST_F(UpdateCheckerTest, ABuildWithoutASiteNeverAsksAndSaysSo)
{
    serveBuild(121);
    for (const char* site : {"", "updates.example.org", "ftp://updates.example.org", "file:///srv/updates"}) {
        SCOPED_TRACE(site);
        UpdateChecker checker(QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl(QString::fromUtf8(site))),
                              QJsonObject{{QStringLiteral("CFBundleVersion"), QStringLiteral("120")}}, defaults,
                              {13, 0, 0}, {limits, {}});
        EXPECT_TRUE(checker.feedURL().isEmpty());

        checkIfDue(checker);
        checkNow(checker);
        EXPECT_EQ(check(checker, true), UpdateChecker::CheckResult(std::optional<AppUpdate>()));

        EXPECT_TRUE(server.requests().isEmpty());
        EXPECT_FALSE(checker.lastManualResult());
        EXPECT_FALSE(checker.available());
        EXPECT_FALSE(checker.isChecking());
        EXPECT_FALSE(defaults.object(kLastCheckKey));
    }
    // A web site with a host is asked.
    EXPECT_FALSE(makeChecker("120")->feedURL().isEmpty());
}

TEST_F(UpdateCheckerTest, NoAutomaticCheckWhileTheyAreOff)
{
    serveBuild(121);
    defaults.setValue(kAutomaticKey, false);
    auto checker = makeChecker("120");
    checkIfDue(*checker);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(checker->available());
}

TEST_F(UpdateCheckerTest, AFailedAutomaticCheckIsSilentAndTriedAgainNextTime)
{
    serve({500, {}});
    auto checker = makeChecker("120");
    checkIfDue(*checker);
    EXPECT_FALSE(checker->lastManualResult());
    EXPECT_FALSE(defaults.object(kLastCheckKey));

    serveBuild(121);
    checkIfDue(*checker);
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(checker->available(), release(121));
    EXPECT_FALSE(checker->lastManualResult());
}

TEST_F(UpdateCheckerTest, AManualCheckPostponesTheAutomaticOneByADay)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkNow(*checker);

    setClock(kStart + 23 * kHour);
    checkIfDue(*checker);
    EXPECT_EQ(server.requests().size(), 1);

    setClock(kStart + 24 * kHour);
    checkIfDue(*checker);
    EXPECT_EQ(server.requests().size(), 2);
}

struct StoredSwitchCase {
    const char* name;
    std::optional<QJsonValue> stored;
    bool checks;
};

void PrintTo(const StoredSwitchCase& row, std::ostream* os)
{
    *os << row.name;
}

class AutomaticSwitch : public testing::TestWithParam<StoredSwitchCase> { };

TEST_P(AutomaticSwitch, ReadsABooleanOrZeroOrOneElseOn)
{
    MemoryDefaults defaults;
    if (GetParam().stored) {
        defaults.setValue(kAutomaticKey, *GetParam().stored);
    }
    const UpdateChecker checker(QuorvaneConfiguration::harborlite(), {}, defaults, {});
    EXPECT_EQ(checker.automaticallyChecks(), GetParam().checks);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, AutomaticSwitch,
    testing::Values(StoredSwitchCase{"Nothing", std::nullopt, true},
                    StoredSwitchCase{"False", QJsonValue(false), false},
                    StoredSwitchCase{"True", QJsonValue(true), true}, StoredSwitchCase{"Zero", QJsonValue(0), false},
                    StoredSwitchCase{"One", QJsonValue(1), true}, StoredSwitchCase{"Two", QJsonValue(2), true},
                    StoredSwitchCase{"Text", QJsonValue(QStringLiteral("no")), true},
                    StoredSwitchCase{"Null", QJsonValue(), true}),
    [](const testing::TestParamInfo<StoredSwitchCase>& row) { return std::string(row.param.name); });

TEST_F(UpdateCheckerTest, TurningAutomaticChecksOffStoresThenAnnounces)
{
    auto checker = makeChecker();
    bool storedWhenAnnounced = false;
    int changes = 0;
    QObject::connect(checker.get(), &Observable::didChange, checker.get(), [&] {
        storedWhenAnnounced = defaults.object(kAutomaticKey) == QJsonValue(false);
        ++changes;
    });
    checker->setAutomaticallyChecks(false);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(storedWhenAnnounced);
    EXPECT_FALSE(checker->automaticallyChecks());
}

// -- skip and remind --------------------------------------------------------

TEST_F(UpdateCheckerTest, SkippingTheAvailableReleasePutsItAway)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkNow(*checker);

    checker->skip(release(130));
    EXPECT_EQ(defaults.object(kSkippedKey), QJsonValue(130));
    EXPECT_EQ(checker->available(), release(121));

    checker->skip(release(121));
    EXPECT_EQ(defaults.integerValue(kSkippedKey), 121);
    EXPECT_FALSE(checker->available());
}

TEST_F(UpdateCheckerTest, RemindLaterHidesTheReleaseUntilTheNextCheck)
{
    serveBuild(121);
    auto checker = makeChecker("120");
    checkNow(*checker);
    const QStringList writesBefore = defaults.writes();

    checker->remindLater();
    EXPECT_FALSE(checker->available());
    EXPECT_EQ(defaults.writes(), writesBefore);

    checker->clearManualResult();
    checkNow(*checker);
    EXPECT_EQ(checker->available(), release(121));
    EXPECT_EQ(checker->lastManualResult(), UpdateChecker::ManualResult::updateAvailable());
}

// -- opening locations ------------------------------------------------------

TEST_F(UpdateCheckerTest, OpensTheDownloadAndReportsTheOpenersAnswer)
{
    auto checker = makeChecker();
    const AppUpdate update = release(121);
    EXPECT_TRUE(checker->openDownload(update));
    openerAccepts = false;
    EXPECT_FALSE(checker->openDownload(update));
    EXPECT_EQ(opened, (QList<QUrl>{update.downloadUrl, update.downloadUrl}));
}

struct NotesCase {
    const char* name;
    const char* notes;
    const char* page;
    const char* expected;
};

void PrintTo(const NotesCase& row, std::ostream* os)
{
    *os << row.name;
}

class ReleaseNotes : public UpdateCheckerTest, public testing::WithParamInterface<NotesCase> { };

TEST_P(ReleaseNotes, OpensTheFirstPresentLocation)
{
    auto checker = makeChecker();
    AppUpdate update = release(121);
    update.downloadUrl = QUrl(QStringLiteral("https://example.org/download"));
    if (GetParam().notes) {
        update.releaseNotesUrl = QUrl(QString::fromUtf8(GetParam().notes));
    }
    if (GetParam().page) {
        update.pageUrl = QUrl(QString::fromUtf8(GetParam().page));
    }
    EXPECT_TRUE(checker->openReleaseNotes(update));
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QString::fromUtf8(GetParam().expected))});
}

INSTANTIATE_TEST_SUITE_P(Locations, ReleaseNotes,
                         testing::Values(NotesCase{"Notes", "https://example.org/notes", "https://example.org/page",
                                                   "https://example.org/notes"},
                                         NotesCase{"Page", nullptr, "http://example.org/page",
                                                   "http://example.org/page"},
                                         NotesCase{"Download", nullptr, nullptr, "https://example.org/download"}),
                         [](const testing::TestParamInfo<NotesCase>& row) { return std::string(row.param.name); });

TEST_F(UpdateCheckerTest, OnlyWebLocationsAreOpened)
{
    auto checker = makeChecker();
    for (const char* location : {"file:///etc/passwd", "javascript:alert(1)", "smb://host/share", "ssh://host",
                                 "x-custom-handler:run", "https:///no-host"}) {
        AppUpdate update = release(121);
        update.downloadUrl = QUrl(QString::fromUtf8(location));
        EXPECT_FALSE(checker->openDownload(update)) << location;
        EXPECT_FALSE(checker->openReleaseNotes(update)) << location;
    }
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
