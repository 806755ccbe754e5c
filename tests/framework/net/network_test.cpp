#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/net/network.h"
#include "platform/window/window.h"

namespace {

std::vector<std::string> g_events;
std::string g_received;

void OnRead(Zeth::WindowHandle, uintptr_t socket) {
    g_events.push_back("read");
    char buffer[256];
    int32_t size = 0;
    while ((size = NetworkReceive(socket, buffer, sizeof(buffer))) > 0) g_received.append(buffer, static_cast<size_t>(size));
}
void OnWrite(Zeth::WindowHandle, uintptr_t) { g_events.push_back("write"); }
void OnClose(Zeth::WindowHandle, uintptr_t) { g_events.push_back("close"); }
void OnAccept(Zeth::WindowHandle, uintptr_t) { g_events.push_back("accept"); }

class NetworkTest : public testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        g_received.clear();
        platform::GetMessageQueue().Clear();
        ASSERT_TRUE(NetworkInitialize());
        NetworkSetCallbacks(OnRead, OnWrite, OnClose, OnAccept);
    }
    void TearDown() override {
        NetworkFinalize();
        if (peer_ >= 0) close(peer_);
        platform::GetMessageQueue().Clear();
    }

    // One pass of the message loop: the due notices are posted, then dispatched through the
    // window procedure.
    static void Pump() {
        NetworkPoll();
        platform::Message message;
        while (platform::GetMessageQueue().Peek(message)) {
            Zeth::WindowProc(nullptr, message.message, message.wParam, message.lParam);
        }
    }
    template <typename Done>
    static bool PumpUntil(Done done) {
        for (int pass = 0; pass < 2000 && !done(); ++pass) {
            Pump();
            usleep(1000);
        }
        return done();
    }

    // A client on the loopback address with a small receive window, so large sends block.
    void Connect(int port) {
        peer_ = socket(AF_INET, SOCK_STREAM, 0);
        int window = 4096;
        setsockopt(peer_, SOL_SOCKET, SO_RCVBUF, &window, sizeof(window));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        ASSERT_EQ(connect(peer_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    }

    int peer_ = -1;
};

TEST_F(NetworkTest, LoopbackClientIsAcceptedTalksAndCloses) {
    int32_t port = NetworkListen("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    Connect(port);
    ASSERT_TRUE(PumpUntil([] { return NetworkGetClientCount() == 1; }));
    ASSERT_TRUE(PumpUntil([] { return NetworkGetClients()->canSend; }));
    EXPECT_EQ(g_events, (std::vector<std::string>{"accept", "write"}));
    const NetworkClient& client = *NetworkGetClients();
    EXPECT_STREQ(client.host.addresses[0], "127.0.0.1");
    uintptr_t socket = static_cast<uintptr_t>(client.socket);

    ASSERT_EQ(NetworkSend("hello", 5, socket), 5);
    char buffer[16] = {};
    ASSERT_EQ(recv(peer_, buffer, sizeof(buffer), 0), 5);
    EXPECT_STREQ(buffer, "hello");

    ASSERT_EQ(send(peer_, "ping", 4, 0), 4);
    ASSERT_TRUE(PumpUntil([] { return g_received == "ping"; }));

    close(peer_);
    peer_ = -1;
    ASSERT_TRUE(PumpUntil([] { return NetworkGetClientCount() == 0; }));
    EXPECT_EQ(g_events.back(), "close");
}

TEST_F(NetworkTest, SendThatWouldBlockIsFinishedOnTheWriteNotice) {
    int32_t port = NetworkListen("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    Connect(port);
    ASSERT_TRUE(PumpUntil([] { return NetworkGetClients() != nullptr && NetworkGetClients()->canSend; }));
    uintptr_t socket = static_cast<uintptr_t>(NetworkGetClients()->socket);

    std::string data(4 << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 4096);
    ASSERT_EQ(NetworkSend(data.data(), static_cast<int32_t>(data.size()), socket), static_cast<int32_t>(data.size()));
    ASSERT_NE(NetworkGetClients()->pending, nullptr);
    EXPECT_FALSE(NetworkGetClients()->canSend);
    EXPECT_EQ(NetworkSend("x", 1, socket), 0);  // not until the kept bytes are gone

    std::string received;
    char buffer[65536];
    ASSERT_TRUE(PumpUntil([&] {
        ssize_t size = 0;
        while ((size = recv(peer_, buffer, sizeof(buffer), MSG_DONTWAIT)) > 0) received.append(buffer, static_cast<size_t>(size));
        return received.size() == data.size();
    }));
    EXPECT_TRUE(received == data);
    EXPECT_EQ(NetworkGetClients()->pending, nullptr);
    EXPECT_TRUE(NetworkGetClients()->canSend);
}

TEST(NetworkErrors, TextsByCode) {
    char text[1024] = "unchanged";
    GetWinsockErrorString(12345, text);
    EXPECT_STREQ(text, "unchanged");
    const std::pair<int, const char*> rows[] = {
        {10035, "操作はブロッキングされる"},
        {10052, "ネットワーク接続が破棄された"},
        {10053, "ネットワーク接続が破棄された"},
        {11004, "要求されたタイプのデータレコードが見つからない"},
    };
    for (const auto& [code, expected] : rows) {
        GetWinsockErrorString(code, text);
        EXPECT_STREQ(text, expected);
    }
}

TEST_F(NetworkTest, ListeningOnABadAddressReportsTheError) {
    EXPECT_EQ(NetworkListen("not an address", 0), -1);
    EXPECT_STREQ(NetworkGetLastError(), "無効なネットワークアドレス");
}

}  // namespace
