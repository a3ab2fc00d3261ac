#include "platform/registry/registrystore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// True when `path` lies strictly below `parent`.
bool isBelow(const QString& path, const QString& parent) {
    if (parent.isEmpty()) return !path.isEmpty();
    return path.size() > parent.size() && path.at(parent.size()) == QLatin1Char('\\') &&
           sameName(path.left(parent.size()), parent);
}

// An advisory lock on "<store>.lock", held for the lifetime of the object.
class FileLock {
public:
    FileLock(const QString& storePath, bool exclusive) {
        const QByteArray lockPath = QFile::encodeName(storePath + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            while (::flock(m_fd, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd = -1;
};

}  // namespace

RegistryStore::RegistryStore(QString filePath) : m_path(std::move(filePath)) {}

QString RegistryStore::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Velmora/registry.json");
}

QString RegistryStore::normalizeKey(const QString& key) {
    QString k = key;
    k.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QStringList parts = k.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

RegistryStore::Tree RegistryStore::load() const {
    Tree tree;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return tree;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        qWarning("registry store %s is unreadable (%s); treated as empty",
                 qPrintable(m_path), qPrintable(error.errorString()));
        return tree;
    }
    for (const QJsonValue& entry : doc.object().value(QStringLiteral("keys")).toArray()) {
        const QJsonObject obj = entry.toObject();
        const QString path = normalizeKey(obj.value(QStringLiteral("path")).toString());
        if (path.isEmpty() || find(tree, path) != nullptr) continue;
        Key key{path, {}};
        for (const QJsonValue& v : obj.value(QStringLiteral("values")).toArray()) {
            const QJsonArray pair = v.toArray();
            if (pair.size() != 2 || !pair.at(0).isString() || !pair.at(1).isString()) continue;
            const QString name = pair.at(0).toString();
            bool seen = false;
            for (const auto& existing : key.values) seen = seen || sameName(existing.first, name);
            if (!seen) key.values.emplace_back(name, pair.at(1).toString());
        }
        tree.push_back(std::move(key));
    }
    return tree;
}

bool RegistryStore::save(const Tree& tree) const {
    QJsonArray keys;
    for (const Key& key : tree) {
        QJsonArray values;
        for (const auto& [name, text] : key.values) values.append(QJsonArray{name, text});
        keys.append(QJsonObject{{QStringLiteral("path"), key.path},
                                {QStringLiteral("values"), values}});
    }
    const QJsonDocument doc(QJsonObject{{QStringLiteral("keys"), keys}});

    QSaveFile file(m_path);
    // Unbuffered, so that a short write shows in the count write() returns.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // A short write (disk full, file size limit) must not be committed as the new store.
    const QByteArray bytes = doc.toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

template <typename Change>
bool RegistryStore::modify(Change&& change) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    FileLock lock(m_path, true);
    Tree tree = load();
    if (!change(tree)) return false;
    return save(tree);
}

RegistryStore::Key* RegistryStore::find(Tree& tree, const QString& path) {
    for (Key& key : tree)
        if (sameName(key.path, path)) return &key;
    return nullptr;
}

const RegistryStore::Key* RegistryStore::find(const Tree& tree, const QString& path) {
    for (const Key& key : tree)
        if (sameName(key.path, path)) return &key;
    return nullptr;
}

RegistryStore::Key& RegistryStore::ensure(Tree& tree, const QString& path) {
    const QStringList parts = path.split(QLatin1Char('\\'));
    QString prefix;
    Key* last = nullptr;
    for (const QString& part : parts) {
        prefix = prefix.isEmpty() ? part : prefix + QLatin1Char('\\') + part;
        last = find(tree, prefix);
        if (last == nullptr) {
            tree.push_back(Key{prefix, {}});
            last = &tree.back();
        }
    }
    return *last;
}

bool RegistryStore::keyExists(const QString& key) const {
    const QString path = normalizeKey(key);
    if (path.isEmpty()) return true;
    FileLock lock(m_path, false);
    const Tree tree = load();
    for (const Key& k : tree)
        if (sameName(k.path, path) || isBelow(k.path, path)) return true;
    return false;
}

bool RegistryStore::createKey(const QString& key) {
    const QString path = normalizeKey(key);
    if (path.isEmpty()) return true;
    return modify([&](Tree& tree) {
        ensure(tree, path);
        return true;
    });
}

bool RegistryStore::deleteKey(const QString& key) {
    const QString path = normalizeKey(key);
    if (path.isEmpty()) return false;
    return modify([&](Tree& tree) {
        const auto before = tree.size();
        std::erase_if(tree, [&](const Key& k) { return sameName(k.path, path) || isBelow(k.path, path); });
        return tree.size() != before;
    });
}

QStringList RegistryStore::subKeys(const QString& key) const {
    const QString path = normalizeKey(key);
    FileLock lock(m_path, false);
    const Tree tree = load();
    QStringList names;
    for (const Key& k : tree) {
        if (!isBelow(k.path, path)) continue;
        const qsizetype start = path.isEmpty() ? 0 : path.size() + 1;
        const QString child = k.path.mid(start).section(QLatin1Char('\\'), 0, 0);
        bool seen = false;
        for (const QString& n : names) seen = seen || sameName(n, child);
        if (!seen) names.append(child);
    }
    return names;
}

std::optional<QString> RegistryStore::value(const QString& key, const QString& name) const {
    FileLock lock(m_path, false);
    const Tree tree = load();
    const Key* k = find(tree, normalizeKey(key));
    if (k == nullptr) return std::nullopt;
    for (const auto& [n, text] : k->values)
        if (sameName(n, name)) return text;
    return std::nullopt;
}

QString RegistryStore::readString(const QString& key, const QString& name,
                                  const QString& fallback) const {
    return value(key, name).value_or(fallback);
}

bool RegistryStore::valueExists(const QString& key, const QString& name) const {
    return value(key, name).has_value();
}

bool RegistryStore::writeString(const QString& key, const QString& name, const QString& text) {
    return writeStrings(key, {{name, text}});
}

bool RegistryStore::writeStrings(const QString& key, const std::vector<Value>& values) {
    const QString path = normalizeKey(key);
    if (path.isEmpty()) return false;
    return modify([&](Tree& tree) {
        Key& k = ensure(tree, path);
        for (const auto& [name, text] : values) {
            bool replaced = false;
            for (auto& existing : k.values) {
                if (sameName(existing.first, name)) {
                    existing.second = text;
                    replaced = true;
                    break;
                }
            }
            if (!replaced) k.values.emplace_back(name, text);
        }
        return true;
    });
}

bool RegistryStore::deleteValue(const QString& key, const QString& name) {
    const QString path = normalizeKey(key);
    return modify([&](Tree& tree) {
        Key* k = find(tree, path);
        if (k == nullptr) return false;
        const auto before = k->values.size();
        std::erase_if(k->values, [&](const Value& v) { return sameName(v.first, name); });
        return k->values.size() != before;
    });
}

QStringList RegistryStore::valueNames(const QString& key) const {
    QStringList names;
    for (const auto& v : values(key)) names.append(v.first);
    return names;
}

std::vector<RegistryStore::Value> RegistryStore::values(const QString& key) const {
    FileLock lock(m_path, false);
    const Tree tree = load();
    const Key* k = find(tree, normalizeKey(key));
    return k ? k->values : std::vector<Value>{};
}

}  // namespace velmora::platform
