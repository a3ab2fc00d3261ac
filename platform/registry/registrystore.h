#pragma once
// The per-user registry store: what the design keeps in the current user's registry hive.
//
// Keys are backslash paths ("Software\Torwick\Kelvane\Net"), compared without regard to case
// and kept with the case they were created with. Values are texts, kept in insertion order.
// The store lives in one JSON file (default $XDG_CONFIG_HOME/Velmora/registry.json, mode 0600).
//
// Every call reads the file afresh and every change replaces the file atomically under an
// exclusive lock, so two processes (the hall and velmora-regsvr, say) may read and write the
// store one after the other, or even at once, without losing each other's changes.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace velmora::platform {

class RegistryStore {
public:
    using Value = std::pair<QString, QString>;  // name, text

    explicit RegistryStore(QString filePath);

    // $XDG_CONFIG_HOME/Velmora/registry.json (~/.config when XDG_CONFIG_HOME is unset).
    static QString defaultPath();

    const QString& filePath() const { return m_path; }

    bool keyExists(const QString& key) const;
    // Creates the key and its missing parents. False only when the file cannot be written.
    bool createKey(const QString& key);
    // Deletes the key with all its subkeys and values. False when it did not exist or the file
    // cannot be written.
    bool deleteKey(const QString& key);
    // Names of the direct subkeys, in the order they were created.
    QStringList subKeys(const QString& key) const;

    std::optional<QString> value(const QString& key, const QString& name) const;
    // The value's text, or `fallback` when the key or the value is missing.
    QString readString(const QString& key, const QString& name,
                       const QString& fallback = QString()) const;
    // Sets a value, creating the key; an existing value keeps its place in the order.
    bool writeString(const QString& key, const QString& name, const QString& text);
    // Writes several values of one key in one file replacement.
    bool writeStrings(const QString& key, const std::vector<Value>& values);
    bool deleteValue(const QString& key, const QString& name);
    bool valueExists(const QString& key, const QString& name) const;
    QStringList valueNames(const QString& key) const;
    std::vector<Value> values(const QString& key) const;

    // Normalises a key path: "/" and "\" separators, no empty parts, no leading or trailing
    // separator.
    static QString normalizeKey(const QString& key);

private:
    struct Key {
        QString path;
        std::vector<Value> values;
    };
    using Tree = std::vector<Key>;

    Tree load() const;
    bool save(const Tree& tree) const;
    template <typename Change>
    bool modify(Change&& change);

    static Key* find(Tree& tree, const QString& path);
    static const Key* find(const Tree& tree, const QString& path);
    static Key& ensure(Tree& tree, const QString& path);

    QString m_path;
};

}  // namespace velmora::platform
