#pragma once
// Shared fixture of the COM tests: a private registry store and the test servers' paths.

#include "platform/registry/registrystore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace velmora::com::test {

class ComEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        m_plugins = qEnvironmentVariable("VELMORA_TEST_PLUGIN_DIR");
        ASSERT_FALSE(m_plugins.isEmpty()) << "VELMORA_TEST_PLUGIN_DIR is not set";
    }
    QString plugin(const char* name) const { return m_plugins + QStringLiteral("/lib%1.so").arg(QLatin1String(name)); }
    platform::RegistryStore store() const { return platform::RegistryStore(platform::RegistryStore::defaultPath()); }

    QTemporaryDir m_dir;
    QString m_plugins;
};

}  // namespace velmora::com::test
