#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// Points $HOME and the XDG variables at a fresh temporary folder for the life of the
// object, so that nothing a test does reaches the real home folder.
class XdgSandbox {
public:
    XdgSandbox()
    {
        QDir(root_.path()).mkpath(QStringLiteral("home"));
        QDir(root_.path()).mkpath(QStringLiteral("config"));
        Set("HOME", Home());
        Set("XDG_CONFIG_HOME", ConfigHome());
        Set("XDG_DATA_HOME", root_.path() + QStringLiteral("/data"));
        Set("XDG_CACHE_HOME", root_.path() + QStringLiteral("/cache"));
    }
    ~XdgSandbox()
    {
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    XdgSandbox(const XdgSandbox&) = delete;
    XdgSandbox& operator=(const XdgSandbox&) = delete;

    QString Root() const { return root_.path(); }
    QString Home() const { return root_.path() + QStringLiteral("/home"); }
    QString ConfigHome() const { return root_.path() + QStringLiteral("/config"); }

    void Set(const char* name, const QString& value)
    {
        Remember(name);
        qputenv(name, value.toUtf8());
    }
    void Unset(const char* name)
    {
        Remember(name);
        qunsetenv(name);
    }

private:
    void Remember(const char* name)
    {
        for (const auto& saved : saved_) {
            if (qstrcmp(saved.first, name) == 0)
                return;
        }
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    }

    QTemporaryDir root_;
    std::vector<std::pair<const char*, QByteArray>> saved_;
};
