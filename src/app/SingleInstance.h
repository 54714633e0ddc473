#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>

class QLocalServer;

namespace plumeo {

// One Plumeo per user, display and settings folder. A second launch hands its arguments to the
// running instance and exits, so that files open as tabs of the existing windows and an instance
// left running without windows is reached again by simply starting Plumeo.
//
// The channel is a Unix socket in a folder that only this user may enter ($XDG_RUNTIME_DIR, else
// a private folder in $TMPDIR checked before use), and both ends check that the other runs as the
// same user: another user can neither receive the files opened nor send files to open. Its name
// hashes the display and the settings folder, so a launch on another display or with other
// settings is an instance of its own.
//
// A message is the arguments as bytes (paths exactly as the file system names them, see
// NativePath), framed by their length, of any size up to maximumMessageSize; the instance answers
// once it holds the whole message, and acts on it only when the launch confirms, so that files are
// opened by exactly one process. A socket is never removed while something accepts connections on
// it: an instance too busy to answer is left alone, and the launch opens its files itself,
// unshared. Only a socket nobody listens on (the instance crashed) is replaced.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArrayList &arguments)>;

    // How long a launch waits for a connected instance to take its message: the instance may be
    // busy opening a large file or reading a FIFO.
    static constexpr std::chrono::milliseconds defaultPatience{10'000};
    static constexpr quint32 maximumMessageSize = 64 * 1024 * 1024;

    enum class Outcome {
        delivered, // a running instance took the arguments: this launch is done
        listening, // this launch holds the channel: serve() it
        alone,     // no instance to use and none to become: open the files here, unshared
    };
    struct Launch
    {
        Outcome outcome = Outcome::alone;
        // The listening socket when outcome is listening, else -1.
        int descriptor = -1;
        // Why the launch is alone, for standard error, in sentences of the interface language;
        // empty otherwise.
        QString problem;
    };

    // The socket path of this user's channel for the current display and settings folder.
    // Nothing, with the reason in *problem (sentences), when no private folder can be had for it
    // (a folder that is a symbolic link, belongs to another user or is open to other users).
    static std::optional<QByteArray> channelPath(QString *problem);
    // The file name of the channel for a display and a settings folder (no folder).
    static QByteArray channelName(const QByteArray &waylandDisplay,
                                  const QByteArray &x11Display,
                                  const QByteArray &settingsFolder);
    // Sends arguments to the instance behind path, or takes the channel when no process listens
    // there. Blocks for at most about patience; uses no event loop, so any thread may call it.
    static Launch join(const QByteArray &path,
                       const QByteArrayList &arguments,
                       std::chrono::milliseconds patience = defaultPatience);
    // The bytes of one message carrying arguments (none of which holds a NUL byte).
    static QByteArray frame(const QByteArrayList &arguments);

    explicit SingleInstance(QObject *parent = nullptr);
    // Removes the channel's socket, if it is still the one this instance made.
    ~SingleInstance() override;
    // Stops serving and removes the socket as the destructor does, so that a process started
    // from now on (the new version after an update) becomes the instance instead of handing its
    // arguments to this one, which is ending.
    void close();

    // Serves the channel taken by join() (launch.outcome listening): receiver gets the arguments
    // of each later launch, from the event loop. Connections from other users are dropped.
    bool serve(const Launch &launch, const QByteArray &path, Receiver receiver);

private:
    void accept();

    QLocalServer *m_server;
    Receiver m_receiver;
    QByteArray m_path;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

} // namespace plumeo
