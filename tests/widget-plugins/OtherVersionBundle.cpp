#include <QObject>
#include <QtPlugin>

// A plug-in built against another version of the widget bundle interface, for
// the host to refuse.
class OtherVersionBundle : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.harborlite.WidgetBundle/0")
};

#include "OtherVersionBundle.moc"
