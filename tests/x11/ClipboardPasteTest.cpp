// Pasting from another program on a real X server: the other program owns the clipboard on a
// connection of its own and counts what it is asked to send.
#include "Beep.h"
#include "CalcEngine.h"
#include "TMForm.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

using namespace bansho;

namespace {

enum class OwnerKind {
    Huge,   // a 100 MB text: "1,234" and then a line after line, sent in pieces
    Binary, // bytes with a NUL and control characters in them
};

// Owns the CLIPBOARD selection from a thread of its own (below: X11's names clash with Qt's).
class ClipboardOwner {
public:
    explicit ClipboardOwner(OwnerKind kind);
    ~ClipboardOwner();
    bool Ok() const { return ok_; }
    long long BytesSent() const { return bytes_.load(); }

private:
    void Run();
    OwnerKind kind_;
    void* dpy_ = nullptr;
    void* oldHandler_ = nullptr; // the X error handler before this owner's
    unsigned long window_ = 0;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<long long> bytes_{0};
    std::thread thread_;
};

class ClipboardPaste : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        main_ = std::make_unique<TMForm>(std::filesystem::path(dir_.path().toStdString()) /
                                         "bansho.ENV");
        main_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
        platform::SetBeepHook([this] { ++beeps_; });
    }
    void TearDown() override {
        platform::SetBeepHook([] {});
        main_.reset();
    }
    void Type(Qt::Key key) { QTest::keyClick(main_.get(), key); }
    const std::string& Entry() const { return main_->Engine().InNum.Text; }

    QTemporaryDir dir_;
    std::unique_ptr<TMForm> main_;
    int beeps_ = 0;
};

// On a busy machine the owner may not answer within the paste's short wait; the paste is then
// tried again, and every try must read no more than the start of the text.
constexpr int kTries = 10;

TEST_F(ClipboardPaste, OnlyTheStartOfAHugeTextIsTransferred) {
    ClipboardOwner owner(OwnerKind::Huge);
    ASSERT_TRUE(owner.Ok());
    int tries = 0;
    while (tries < kTries && Entry() != "1234") {
        ++tries;
        Type(Qt::Key_V);
    }
    EXPECT_EQ(Entry(), "1234");
    EXPECT_EQ(main_->Engine().Display().Caption, "1,234.");
    EXPECT_EQ(beeps_, 0);
    // The owner offers its text in pieces of 64 KiB: no try took more than the first.
    EXPECT_LE(owner.BytesSent(), tries * 65536LL) << "after " << tries << " pastes";
}

TEST_F(ClipboardPaste, BinaryDataIsRefusedWithTheBeep) {
    ClipboardOwner owner(OwnerKind::Binary);
    ASSERT_TRUE(owner.Ok());
    for (int tries = 0; tries < kTries && beeps_ == 0; ++tries) {
        Type(Qt::Key_7);
        Type(Qt::Key_V);
    }
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(Entry().back(), '7') << "the entry stays as it was: " << Entry();
    EXPECT_GT(owner.BytesSent(), 0) << "the data was read and refused";
}

} // namespace

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace {

constexpr long long kHugeSize = 100LL * 1024 * 1024;
constexpr long kPiece = 65536;

char HugeByte(long long i) {
    static const std::string first = "1,234\n";
    if (i < static_cast<long long>(first.size())) return first[static_cast<std::size_t>(i)];
    return "56789\n"[(i - static_cast<long long>(first.size())) % 6];
}

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0; // a paste that ended its transfer early destroys its window
}

ClipboardOwner::ClipboardOwner(OwnerKind kind) : kind_(kind) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return;
    oldHandler_ = reinterpret_cast<void*>(XSetErrorHandler(IgnoreXErrors));
    dpy_ = dpy;
    window_ = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    XSetSelectionOwner(dpy, clipboard, window_, CurrentTime);
    XSync(dpy, False);
    ok_ = XGetSelectionOwner(dpy, clipboard) == window_;
    thread_ = std::thread([this] { Run(); });
}

ClipboardOwner::~ClipboardOwner() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (dpy_) XCloseDisplay(static_cast<Display*>(dpy_));
    if (dpy_) XSetErrorHandler(reinterpret_cast<XErrorHandler>(oldHandler_));
}

void ClipboardOwner::Run() {
    auto* dpy = static_cast<Display*>(dpy_);
    const Atom targets = XInternAtom(dpy, "TARGETS", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    const Atom incr = XInternAtom(dpy, "INCR", False);
    // The transfer in pieces under way.
    Window requestor = None;
    Atom property = None;
    long long sent = 0;
    while (!stop_) {
        while (XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == SelectionRequest) {
                const XSelectionRequestEvent& req = ev.xselectionrequest;
                XEvent reply{};
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = req.requestor;
                reply.xselection.selection = req.selection;
                reply.xselection.target = req.target;
                reply.xselection.time = req.time;
                reply.xselection.property = req.property;
                if (req.target == targets) {
                    const Atom list[] = {targets, utf8};
                    XChangeProperty(dpy, req.requestor, req.property, XA_ATOM, 32,
                                    PropModeReplace, reinterpret_cast<const unsigned char*>(list), 2);
                } else if (req.target == utf8 && kind_ == OwnerKind::Binary) {
                    static const char data[] = "12\0\x01\x02\x03\x04 binary";
                    XChangeProperty(dpy, req.requestor, req.property, utf8, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(data), sizeof data - 1);
                    bytes_ += static_cast<long long>(sizeof data - 1);
                } else if (req.target == utf8) {
                    requestor = req.requestor;
                    property = req.property;
                    sent = 0;
                    XSelectInput(dpy, requestor, PropertyChangeMask);
                    const long size = static_cast<long>(kHugeSize);
                    XChangeProperty(dpy, req.requestor, req.property, incr, 32, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(&size), 1);
                } else {
                    reply.xselection.property = None;
                }
                XSendEvent(dpy, req.requestor, False, 0, &reply);
                XFlush(dpy);
            } else if (ev.type == PropertyNotify && ev.xproperty.window == requestor &&
                       ev.xproperty.atom == property && ev.xproperty.state == PropertyDelete) {
                // The requestor took the last piece: the next one (an empty one ends).
                const long n = static_cast<long>(std::min<long long>(kPiece, kHugeSize - sent));
                std::string piece(static_cast<std::size_t>(n), '\0');
                for (long i = 0; i < n; ++i)
                    piece[static_cast<std::size_t>(i)] = HugeByte(sent + i);
                XChangeProperty(dpy, requestor, property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(piece.data()),
                                static_cast<int>(n));
                XFlush(dpy);
                sent += n;
                bytes_ += n;
                if (n == 0) requestor = None;
            }
        }
        pollfd p{ConnectionNumber(dpy), POLLIN, 0};
        ::poll(&p, 1, 20);
    }
}

} // namespace
