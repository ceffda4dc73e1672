// Registry entry points: Win32's size rules and key handling, called from code on the device.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "inside.h"
#include "pocket_device.h"

namespace {

const char* kProbeKey = "HKCU\\Software\\Probe";

class RegistryTest : public ::testing::Test {
protected:
    template <class Body>
    void onDevice(Body body) {
        auto& p = inside(device).startHosted("probe", [body] {
            body();
            return 0;
        });
        EXPECT_EQ(p.exitCode, 0);
        EXPECT_EQ(p.handlesAtExit->liveOf(sim::HandleKind::RegistryKey), 0) << "a key handle was left open";
    }
    pocket::PocketDevice device;
};

HKEY openProbe() {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Probe", 0, KEY_READ, &key), ERROR_SUCCESS);
    return key;
}

struct QueryCase {
    const char* name;
    DWORD storedSize;
    DWORD bufferSize;
    LONG result;
    DWORD sizeAfter;
    bool filled;
};

class RegistryQuery : public RegistryTest, public ::testing::WithParamInterface<QueryCase> {};

}  // namespace

TEST_P(RegistryQuery, FollowsTheSizeRules) {
    const QueryCase c = GetParam();
    std::vector<std::uint8_t> data(c.storedSize);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    device.setRegistryValue(kProbeKey, u"v", REG_BINARY, data);
    onDevice([c] {
        HKEY key = openProbe();
        std::vector<BYTE> buffer(c.bufferSize + 4, 0xEE);
        DWORD type = 0;
        DWORD size = c.bufferSize;
        EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, &type, buffer.data(), &size), c.result);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(size, c.sizeAfter);
        for (DWORD i = 0; i < c.bufferSize; ++i) {
            const BYTE expected = (c.filled && i < c.storedSize) ? static_cast<BYTE>(i + 1) : 0xEE;
            EXPECT_EQ(buffer[i], expected) << "byte " << i;
        }
        EXPECT_EQ(buffer[c.bufferSize], 0xEE) << "written past the buffer";
        RegCloseKey(key);
    });
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryQuery,
                         ::testing::Values(QueryCase{"Exact", 4, 4, ERROR_SUCCESS, 4, true},
                                           QueryCase{"Shorter", 2, 4, ERROR_SUCCESS, 2, true},
                                           QueryCase{"Empty", 0, 4, ERROR_SUCCESS, 0, true},
                                           QueryCase{"Longer", 5, 4, ERROR_MORE_DATA, 5, false},
                                           QueryCase{"MuchLonger", 300, 260, ERROR_MORE_DATA, 300, false},
                                           QueryCase{"FitsLargeBuffer", 259, 260, ERROR_SUCCESS, 259, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, SizeQueryWithoutBufferAndMissingValue) {
    device.setRegistryValue(kProbeKey, u"v", REG_SZ, {'a', 0, 0, 0});
    onDevice([] {
        HKEY key = openProbe();
        DWORD size = 0;
        DWORD type = 0;
        EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(RegQueryValueExW(key, u"missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(RegQueryValueExW(key, u"V", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);  // no case
        RegCloseKey(key);
    });
}

TEST_F(RegistryTest, CreateReportsNewAndExistingKeys) {
    onDevice([] {
        HKEY key = nullptr;
        DWORD disposition = 0;
        WCHAR cls[] = u"";
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\A\\B", 0, cls, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
        const DWORD value = 0x12345678;
        EXPECT_EQ(RegSetValueExW(key, u"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"software\\a\\b", 0, cls, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
        RegCloseKey(key);
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    });
    auto stored = device.dword("HKCU\\Software\\A\\B", u"n");
    EXPECT_EQ(stored, 0x12345678u);
}

TEST_F(RegistryTest, HandlesOfADeletedKeyAndClosedHandlesFail) {
    device.setRegistryValue(kProbeKey, u"v", REG_DWORD, {1, 0, 0, 0});
    auto& p = inside(device).startHosted("probe", [this] {
        HKEY key = openProbe();
        device.deleteRegistryKey(kProbeKey);  // the driver removes it while the handle is open
        DWORD size = 4;
        DWORD data = 0;
        EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size),
                  ERROR_KEY_DELETED);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
        return 0;
    });
    EXPECT_EQ(p.handlesAtExit->badReleases, 1u);
}

TEST_F(RegistryTest, DriverFaultsOnKeysAndValues) {
    device.setRegistryValue(kProbeKey, u"v", REG_DWORD, {1, 0, 0, 0});
    device.failRegistryKey(kProbeKey, ERROR_ACCESS_DENIED);
    onDevice([] {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Probe", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    });
    device.clearRegistryFaults(kProbeKey);
    device.failRegistryValue(kProbeKey, u"v", ERROR_NOT_ENOUGH_MEMORY);
    onDevice([] {
        HKEY key = openProbe();
        DWORD size = 4;
        DWORD data = 0;
        EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size),
                  ERROR_NOT_ENOUGH_MEMORY);
        RegCloseKey(key);
    });
}
