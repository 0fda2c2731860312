#pragma once
// The show/hide key where there is no X11 (a Wayland session): the desktop
// portal's GlobalShortcuts interface, over D-Bus. The program asks for one
// shortcut, "toggle-window"; the desktop lets the user confirm or choose its
// trigger (the Pause key is proposed) and reports every press, which arrives
// here as pressed(), one per activation, like a key press on X11.
#include "hotkeysource.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace vn {

class PortalHotKeySource final : public HotKeySource, protected QDBusContext {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.portal.Desktop";
    static constexpr const char* kPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* kInterface = "org.freedesktop.portal.GlobalShortcuts";
    static constexpr const char* kShortcutId = "toggle-window";

    explicit PortalHotKeySource(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                QObject* parent = nullptr);
    ~PortalHotKeySource() override;

    // True when the bus has a portal that offers global shortcuts.
    static bool Offered(const QDBusConnection& bus, int timeoutMs = 3000);

    // Starts binding (the portal answers later); false when the bus has no
    // such portal. A refusal later is reported once on standard error.
    bool registerKey(HotKey key) override;
    void unregisterKey() override;
    bool available() const override { return available_; }

    enum class State { Idle, CreatingSession, Binding, Bound, Failed };
    State state() const { return state_; }
    // The trigger the desktop reports for the shortcut ("Pause"), if any.
    QString trigger() const { return trigger_; }

signals:
    void stateChanged(vn::PortalHotKeySource::State state);

private slots:
    void onResponse(uint response, const QVariantMap& results);
    void onActivated(const QDBusMessage& signal);

private:
    QString requestPath(const QString& token) const;
    bool call(const QString& method, const QList<QVariant>& args, const QString& token);
    void watchRequest(const QString& path);
    void createSession();
    void bindShortcut();
    void closeSession();
    void setState(State s);
    void fail();

    QDBusConnection bus_;
    bool available_ = false;
    HotKey key_ = HotKey::None;
    State state_ = State::Idle;
    QString session_;
    QString pendingRequest_;
    QString trigger_;
    int tokens_ = 0;
    bool failureReported_ = false;
};

} // namespace vn
