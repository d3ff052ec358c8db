#include <gtest/gtest.h>

#include <random>
#include <string>

#include "comm/discovery.h"
#include "comm/moduletable.h"

using namespace kvr::core;

namespace {

Bytes datagram(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::string textOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// ---- Discovery replies -------------------------------------------------------------------------

TEST(DiscoveryReply, FieldsAreSplitFromByteOneOn)
{
    // Byte 0 is not interpreted, even when it is a separator.
    for (char first : {'x', '/', '\0'}) {
        Bytes d = datagram("?0.32.74.1.2.3/EM100/3.30/1001/KVR610/SALA1");
        d[0] = uint8_t(first);
        const auto reply = parseDiscoveryReply(d);
        ASSERT_TRUE(reply) << "first byte " << int(first);
        EXPECT_EQ(reply->identifier, "0.32.74.1.2.3");
        EXPECT_EQ(reply->field2, "EM100");
        EXPECT_EQ(reply->field3, "3.30");
        EXPECT_EQ(reply->field4, "1001");
        EXPECT_EQ(reply->deviceType, "KVR610");
        EXPECT_EQ(reply->hostName, "SALA1");
        EXPECT_TRUE(isKvr610(*reply));
    }
}

TEST(DiscoveryReply, HostNameIsTheWholeRestSlashesAndBinaryIncluded)
{
    auto reply = parseDiscoveryReply(datagram("XM/a/b/c/KVR610/FOH/LEFT/"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->hostName, "FOH/LEFT/");

    // The datagram's length ends the name, not a zero byte.
    const Bytes binary = {'X', 'M', '/', '/', '/', '/', 'K', 'V', 'R', '6', '1', '0', '/', 'A', 0x00, 0xFF, 'B'};
    reply = parseDiscoveryReply(binary);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->identifier, "M");
    EXPECT_EQ(reply->hostName, std::string("A\0\xff"
                                           "B",
                                           4));

    reply = parseDiscoveryReply(datagram("X////KVR610/")); // every field empty: still a reply
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->identifier, "");
    EXPECT_EQ(reply->hostName, "");
}

TEST(DiscoveryReply, WithoutFiveSeparatorsItIsIgnored)
{
    for (const char* text : {"", "X", "X/", "XM/a/b/c/KVR610", "XM/a/b/c", "/////", "XKVR610"})
        EXPECT_FALSE(parseDiscoveryReply(datagram(text))) << '"' << text << '"';
    EXPECT_TRUE(parseDiscoveryReply(datagram("//////")));
}

TEST(DiscoveryReply, OnlyThisProcessorsModulesAreListed)
{
    ModuleTable table;
    EXPECT_TRUE(table.offer(datagram("XID1/a/b/c/KVR610/ONE"), "127.0.0.2"));
    for (const char* other : {"XID2/a/b/c/KVR410/TWO", "XID3/a/b/c/kvr610/THREE", "XID4/a/b/c/KVR6100/FOUR",
                              "XID5/a/b/c/ KVR610/FIVE", "XID6/a/b/c//SIX", "XID7/a/b/c/KVR61/SEVEN"})
        EXPECT_FALSE(table.offer(datagram(other), "127.0.0.3")) << other;
    EXPECT_FALSE(table.offer(datagram("XID8/a/b/c/KVR610"), "127.0.0.4")); // no host name field
    EXPECT_TRUE(table.offer(datagram("XID9/a/b/c/KVR610/A/B"), "127.0.0.5"));

    ASSERT_EQ(table.count(), 2u);
    const ModuleEntry& first = table.entries()[0];
    EXPECT_EQ(first.ipAddress, "127.0.0.2");
    EXPECT_EQ(first.hostName, "ONE");
    EXPECT_EQ(first.deviceType, "KVR610");
    EXPECT_EQ(first.identifier, "ID1");
    EXPECT_EQ(table.entries()[1].hostName, "A/B");
    EXPECT_EQ(table.entries()[1].ipAddress, "127.0.0.5");
}

TEST(DiscoveryReply, TheTableStopsAtOneHundredAndOneModules)
{
    ModuleTable table;
    int listed = 0;
    for (int i = 0; i < 150; ++i) {
        // Other devices in between take no place in the table.
        table.offer(datagram("XF/a/b/c/OTHER/F"), "127.0.1.1");
        const std::string name = "M" + std::to_string(i);
        listed += table.offer(datagram("X" + name + "/a/b/c/KVR610/" + name), "127.0.0." + std::to_string(i % 250));
    }
    EXPECT_EQ(listed, 101);
    ASSERT_EQ(table.count(), 101u);
    EXPECT_TRUE(table.full());
    EXPECT_EQ(table.entries().front().hostName, "M0");
    EXPECT_EQ(table.entries().back().hostName, "M100"); // the first 101, in arrival order
    table.clear();
    EXPECT_EQ(table.count(), 0u);
    EXPECT_TRUE(table.offer(datagram("XM/a/b/c/KVR610/AGAIN"), "127.0.0.2"));
}

TEST(DiscoveryReply, RandomDatagramsParseCleanlyOrNotAtAll)
{
    // Replies are untrusted: random lengths up to 2048, random bytes with many separators. A
    // parsed reply must put the datagram back together exactly, with no "/" in fields 1 to 5.
    std::mt19937 random(610);
    std::uniform_int_distribution<int> length(0, 2048);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> coin(0, 9);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes d(size_t(round < 100 ? round % 12 : length(random)));
        for (uint8_t& b : d)
            b = coin(random) < 2 ? uint8_t('/') : uint8_t(byte(random));
        const auto reply = parseDiscoveryReply(d);
        ModuleTable table;
        const bool listed = table.offer(d, "127.0.0.2");
        if (!reply) {
            EXPECT_FALSE(listed);
            continue;
        }
        ++parsed;
        EXPECT_EQ(listed, reply->deviceType == "KVR610");
        for (const std::string* field :
             {&reply->identifier, &reply->field2, &reply->field3, &reply->field4, &reply->deviceType})
            EXPECT_EQ(field->find('/'), std::string::npos);
        std::string rebuilt(1, char(d[0]));
        rebuilt += reply->identifier + "/" + reply->field2 + "/" + reply->field3 + "/" + reply->field4 + "/" +
                   reply->deviceType + "/" + reply->hostName;
        ASSERT_EQ(rebuilt, textOf(d)) << "round " << round;
    }
    EXPECT_GT(parsed, 100); // the generator does reach the parser's accepting path
}

// ---- Messages to the modules -------------------------------------------------------------------

TEST(ModuleMessages, SingleByteMessages)
{
    EXPECT_EQ(discoveryMessage(), Bytes{'X'});
    EXPECT_EQ(identifyMessage(), Bytes{'B'});
    EXPECT_EQ(hostNameSelectMessage(), Bytes{'L'});
}

TEST(ModuleMessages, ChangeIpIsByteExact)
{
    const auto message = changeIpMessage("M", "10.0.0.7");
    ASSERT_TRUE(message.ok()) << message.message();
    // "A", M, "//", the eight characters of 10.0.0.7 and one zero byte: 13 bytes.
    const Bytes expected = {0x41, 0x4D, 0x2F, 0x2F, 0x31, 0x30, 0x2E, 0x30, 0x2E, 0x30, 0x2E, 0x37, 0x00};
    EXPECT_EQ(*message, expected) << toHex(*message);

    const auto longer = changeIpMessage("0.32.74.1.2.3", "192.168.100.254");
    ASSERT_TRUE(longer.ok());
    EXPECT_EQ(textOf(*longer), std::string("A0.32.74.1.2.3//192.168.100.254\0", 32));
}

TEST(ModuleMessages, ChangeIpRefusesWhatDoesNotFitTheSendBuffer)
{
    // 101 bytes: "A" + identifier + "//" + 8 address characters + 0x00 leaves 89 for the identifier.
    const auto fits = changeIpMessage(std::string(89, 'I'), "10.0.0.7");
    ASSERT_TRUE(fits.ok());
    EXPECT_EQ(fits->size(), 101u);
    EXPECT_EQ(fits->back(), 0x00);
    for (size_t n : {size_t(90), size_t(101), size_t(5000)}) {
        const auto tooLong = changeIpMessage(std::string(n, 'I'), "10.0.0.7");
        ASSERT_FALSE(tooLong.ok()) << n;
        EXPECT_EQ(tooLong.message(),
                  "The module identifier is too long: the message to the module holds at most 101 bytes.");
    }
    EXPECT_FALSE(changeIpMessage(std::string(83, 'I'), "255.255.255.255").ok()); // 15 characters leave 82
    EXPECT_TRUE(changeIpMessage(std::string(82, 'I'), "255.255.255.255").ok());
    EXPECT_EQ(changeIpMessage("", "10.0.0.7").message(),
              "The module has no identifier: its IP address cannot be changed.");
}

TEST(ModuleMessages, AddressesMustBeDottedIpv4)
{
    for (const char* good : {"10.0.0.7", "0.0.0.0", "255.255.255.255", "127.0.0.9", "010.1.1.1"})
        EXPECT_TRUE(isDottedIpv4(good)) << good;
    for (const char* bad : {"", "10.0.0", "10.0.0.256", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1234.1.1.1", "10.0.0.7 ",
                            " 10.0.0.7", "10.0.0.-1", "10.0.0.", ".10.0.0", "10,0,0,7"}) {
        EXPECT_FALSE(isDottedIpv4(bad)) << '"' << bad << '"';
        const auto message = changeIpMessage("M", bad);
        ASSERT_FALSE(message.ok());
        EXPECT_EQ(message.message(), "The IP address must be four numbers from 0 to 255 separated by dots.");
    }
}

TEST(ModuleMessages, HostNameChange)
{
    const auto message = hostNameMessage("STAGE/2");
    ASSERT_TRUE(message.ok());
    EXPECT_EQ(textOf(*message), "SDNSTAGE/2");
    EXPECT_TRUE(hostNameMessage(std::string(98, 'N')).ok());
    EXPECT_FALSE(hostNameMessage(std::string(99, 'N')).ok()); // 3 + 99 > 101

    EXPECT_EQ(*hostNameFromEdit("foh-l1"), "FOH-L1");
    EXPECT_EQ(*hostNameFromEdit("ABCDEFGH"), "ABCDEFGH");
    EXPECT_EQ(hostNameFromEdit("ABCDEFGHI").message(), "The host name holds at most 8 characters.");
    EXPECT_EQ(hostNameFromEdit("").message(), "The host name is empty.");
}

TEST(ModuleMessages, OnlyAFirstByteAMeansSuccess)
{
    EXPECT_TRUE(changeAccepted(datagram("A")));
    EXPECT_TRUE(changeAccepted(datagram("AOK")));
    for (const char* no : {"", "a", "N", "XA", " A"})
        EXPECT_FALSE(changeAccepted(datagram(no))) << '"' << no << '"';
}

TEST(ModuleMessages, DirectedBroadcastKeepsTheFirstThreeParts)
{
    EXPECT_EQ(*directedBroadcast("192.168.1.20"), "192.168.1.255");
    EXPECT_EQ(*directedBroadcast("10.0.0.7"), "10.0.0.255");
    EXPECT_EQ(*directedBroadcast("127.0.0.1"), "127.0.0.255");
    EXPECT_FALSE(directedBroadcast("192.168.1").ok());
    EXPECT_FALSE(directedBroadcast("fe80::1").ok());
}
