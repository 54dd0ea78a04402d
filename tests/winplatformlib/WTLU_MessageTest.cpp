#include "WTLU/WTLU_MessageBox.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
// Records the messages it receives and answers only the numbers it knows.
class Receiver : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (!WTLU_MessageEvent::IsMessage(event))
            return QObject::event(event);
        const auto* message = static_cast<WTLU_MessageEvent*>(event);
        received.push_back({message->Message(), message->WParam(), message->LParam()});
        if (const auto* text = std::any_cast<std::shared_ptr<int>>(&message->Payload()))
            payload = *text;
        return message->Message() == 0x8002;
    }
    struct Seen
    {
        int message;
        quintptr wParam;
        qintptr lParam;
    };
    std::vector<Seen> received;
    std::shared_ptr<int> payload;
};
} // namespace

TEST(WTLU_MessageEvent, SentAtOncePostedLater_WithBothParameters)
{
    Receiver receiver;
    EXPECT_TRUE(WTLU_MessageEvent::Send(&receiver, 0x8002, 7, -3));
    ASSERT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(receiver.received[0].message, 0x8002);
    EXPECT_EQ(receiver.received[0].wParam, 7u);
    EXPECT_EQ(receiver.received[0].lParam, -3);
    // A number the receiver does not know is reported as not handled.
    EXPECT_FALSE(WTLU_MessageEvent::Send(&receiver, 0x8004));

    WTLU_MessageEvent::Post(&receiver, 0x800A, 1, 2);
    EXPECT_EQ(receiver.received.size(), 2u);
    QCoreApplication::sendPostedEvents(&receiver);
    ASSERT_EQ(receiver.received.size(), 3u);
    EXPECT_EQ(receiver.received[2].message, 0x800A);

    EXPECT_FALSE(WTLU_MessageEvent::Send(nullptr, 0x8002));
    WTLU_MessageEvent::Post(nullptr, 0x8002); // ignored, no crash
    EXPECT_THROW(WTLU_MessageEvent::TypeOf(0x4A), std::out_of_range);
}

TEST(WTLU_MessageEvent, PayloadOfAPostedMessageIsReleasedWhenNeverDelivered)
{
    auto shared = std::make_shared<int>(5);
    {
        auto receiver = std::make_unique<Receiver>();
        WTLU_MessageEvent::Post(receiver.get(), 0x8002, 0, 0, shared);
        EXPECT_EQ(shared.use_count(), 2);
        receiver.reset(); // the queued message goes with its receiver
    }
    EXPECT_EQ(shared.use_count(), 1);
}

TEST(WTLU_MessageBox, CaptionBodyIconsAndButtons)
{
    std::vector<WTLU_MessageBoxRequest> shown;
    const auto previous = WTLU_MessageBox::SetPresenter(
        [&shown](const WTLU_MessageBoxRequest& r)
        {
            shown.push_back(r);
            return int(WTLU_IDNO);
        });
    EXPECT_EQ(WTLU_MessageBox::ShowWarning(QStringLiteral("Title"), QStringLiteral("Text"),
                                           QStringLiteral("More"), nullptr,
                                           WTLU_MB_YESNO | WTLU_MB_DEFBUTTON2),
              WTLU_IDNO);
    WTLU_MessageBox::ShowError(QStringLiteral("T"), QStringLiteral("Only"), QString());
    WTLU_MessageBox::ShowInformation(QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"),
                                     nullptr, WTLU_MB_ICONSTOP); // the front end's icon wins
    WTLU_MessageBox::SetPresenter(previous);

    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Quor KRN - Title"));
    EXPECT_EQ(shown[0].body, QStringLiteral("Text\nMore"));
    EXPECT_EQ(shown[0].style,
              unsigned(WTLU_MB_YESNO | WTLU_MB_DEFBUTTON2 | WTLU_MB_ICONEXCLAMATION));
    EXPECT_EQ(shown[1].body, QStringLiteral("Only"));
    EXPECT_EQ(shown[1].style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONSTOP));
    EXPECT_EQ(shown[2].style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONINFORMATION));

    // The box the default presenter shows: Yes/No with No as default and as escape.
    std::unique_ptr<QMessageBox> box(WTLU_MessageBox::Build(shown[0]));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Quor KRN - Title"));
    EXPECT_EQ(box->text(), QStringLiteral("Text\nMore"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    std::unique_ptr<QMessageBox> plain(WTLU_MessageBox::Build(shown[1]));
    EXPECT_EQ(plain->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(plain->icon(), QMessageBox::Critical);
}

TEST(WTLU_MessageBox, IdsAreLookedUpThroughTheInstalledTable)
{
    const auto lookup = WTLU_MessageBox::SetStringLookup(
        [](unsigned id)
        { return id == 187 ? QStringLiteral("Prefix: ") : QStringLiteral("s%1").arg(id); });
    std::vector<WTLU_MessageBoxRequest> shown;
    const auto presenter = WTLU_MessageBox::SetPresenter(
        [&shown](const WTLU_MessageBoxRequest& r)
        {
            shown.push_back(r);
            return int(WTLU_IDOK);
        });
    WTLU_MessageBox::ShowInformation(201, 202, 0);
    WTLU_MessageBox::SetPresenter(presenter);
    WTLU_MessageBox::SetStringLookup(lookup);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Prefix: s201"));
    EXPECT_EQ(shown[0].body, QStringLiteral("s202"));
}
