#include "ui/results/CategorySectionHeader.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QPainter>

namespace harborlite {

namespace {

// The small indeterminate spinner: an arc turning once a second, animated
// only while it is shown.
class Spinner : public QWidget {
public:
    Spinner()
    {
        setObjectName(QStringLiteral("sectionSpinner"));
        setFixedSize(static_cast<int>(CategorySectionHeader::kSpinnerSide),
                     static_cast<int>(CategorySectionHeader::kSpinnerSide));
        timer_.setInterval(33);
        connect(&timer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    }

protected:
    void showEvent(QShowEvent*) override
    {
        clock_.start();
        timer_.start();
    }
    void hideEvent(QHideEvent*) override { timer_.stop(); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal phase = clock_.isValid() ? static_cast<qreal>(clock_.elapsed() % 1000) / 1000 : 0;
        GlassCompatButtonStyle::paintSpinner(painter, QRectF(rect()), Palette::resolve(PaletteRole::inkSecondary, this),
                                             phase);
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
};

} // namespace

CategorySectionHeader::CategorySectionHeader(ScanCategory category, std::function<void()> scan, QWidget* parent)
    : QWidget(parent)
    , category_(category)
    , scan_(std::move(scan))
    , spinner_(new Spinner)
    , message_(new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal)))
    , scanButton_(new GlassCompatButton(tr("Scan"), true, Palette::accent()))
    , rescanButton_(new GlassCompatButton(tr("Rescan"), false, Palette::accent()))
    , cluster_(new QHBoxLayout)
{
    setObjectName(QStringLiteral("sectionHeader_") + rawValue(category));
    setAccessibleName(title(category));
    message_->setObjectName(QStringLiteral("sectionMessage"));
    message_->setElidedOnOneLine(true);
    // Wants its whole text and gives way only when the row runs short.
    message_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    scanButton_->setObjectName(QStringLiteral("sectionScanButton"));
    rescanButton_->setObjectName(QStringLiteral("sectionRescanButton"));
    for (GlassCompatButton* button : {scanButton_, rescanButton_}) {
        button->setFont(TypeStyle::font(12, QFont::DemiBold));
        connect(button, &QAbstractButton::clicked, this, [this] {
            if (scan_) {
                scan_();
            }
        });
    }

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    row->addWidget(new SymbolView(symbol(category), kSymbolSide, Palette::accentDeep()), 0, Qt::AlignVCenter);
    auto* name = new RoleLabel(title(category), Palette::ink(), TypeStyle::sectionTitle());
    name->setObjectName(QStringLiteral("sectionTitle"));
    row->addWidget(name, 0, Qt::AlignVCenter);
    row->addStretch(1);
    cluster_->setContentsMargins(0, 0, 0, 0);
    cluster_->setSpacing(kClusterSpacing);
    cluster_->addWidget(spinner_, 0, Qt::AlignVCenter);
    cluster_->addWidget(message_, 0, Qt::AlignVCenter);
    cluster_->addWidget(rescanButton_, 0, Qt::AlignVCenter);
    cluster_->addWidget(scanButton_, 0, Qt::AlignVCenter);
    row->addLayout(cluster_);
    present(ResultsPresentation::section(category, nullptr, false, nullptr));
}

void CategorySectionHeader::present(const ResultsPresentation::Section& section)
{
    using Cluster = ResultsPresentation::Section::Cluster;
    const bool pillChanges = section.pillText != section_.pillText || section.pillTint != section_.pillTint
        || section.pillSymbol != section_.pillSymbol || !pill_;
    section_ = section;
    const bool running = section.cluster == Cluster::running;
    spinner_->setVisible(running);
    message_->setVisible(running);
    message_->setText(section.message);
    if (section.cluster == Cluster::result) {
        if (pillChanges) {
            delete pill_;
            pill_ = new StatusPill(section.pillText, Palette::color(section.pillTint), section.pillSymbol);
            pill_->setObjectName(QStringLiteral("sectionPill"));
            cluster_->insertWidget(cluster_->indexOf(rescanButton_), pill_, 0, Qt::AlignVCenter);
        }
        pill_->show();
    } else if (pill_) {
        pill_->hide();
    }
    rescanButton_->setVisible(section.cluster == Cluster::result);
    scanButton_->setVisible(section.cluster == Cluster::idle);
}

GlassCompatButton* CategorySectionHeader::visibleButton() const
{
    switch (section_.cluster) {
    case ResultsPresentation::Section::Cluster::result:
        return rescanButton_;
    case ResultsPresentation::Section::Cluster::idle:
        return scanButton_;
    case ResultsPresentation::Section::Cluster::running:
        break;
    }
    return nullptr;
}

bool CategorySectionHeader::isSpinning() const
{
    return section_.cluster == ResultsPresentation::Section::Cluster::running;
}

} // namespace harborlite
