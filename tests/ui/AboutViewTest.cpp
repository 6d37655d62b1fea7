#include "ui/AboutView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include "support/ModelFixture.h"
#include "ui/AboutVersion.h"

namespace corvane::ui {
namespace {

TEST(AboutVersionTest, EachMissingOrNonStringEntryFallsBackOnItsOwn) {
    const QString shortKey = QStringLiteral("CFBundleShortVersionString");
    const QString buildKey = QStringLiteral("CFBundleVersion");
    EXPECT_EQ(aboutVersion({{shortKey, QStringLiteral("2.0")}, {buildKey, QStringLiteral("17")}}),
              QStringLiteral("2.0 (17)"));
    EXPECT_EQ(aboutVersion({{shortKey, QStringLiteral("3.1")}}), QStringLiteral("3.1 (4)"));
    EXPECT_EQ(aboutVersion({}), QStringLiteral("1.1.2 (4)"));
    EXPECT_EQ(aboutVersion({{shortKey, 2.5}, {buildKey, 17}}), QStringLiteral("1.1.2 (4)"));
    EXPECT_EQ(aboutVersion({{buildKey, QStringLiteral("")}}), QStringLiteral("1.1.2 ()"));
}

TEST(AboutVersionTest, ApplicationInformationCarriesBothKeysAsStrings) {
    const QVariantMap information = applicationInformation();
    EXPECT_EQ(information.value("CFBundleShortVersionString").typeId(), QMetaType::QString);
    EXPECT_EQ(information.value("CFBundleVersion").typeId(), QMetaType::QString);
}

class AboutViewTest : public testing::ModelFixture {};

TEST_F(AboutViewTest, CloseClearsTheAboutFlag) {
    startModel();
    model->setShowingAbout(true);
    AboutView view(*model);

    view.closeButton().click();
    EXPECT_FALSE(model->showingAbout());
}

TEST_F(AboutViewTest, SecondaryTextsFollowAPaletteChange) {
    startModel();
    AboutView view(*model);
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(30, 30, 32));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    QApplication::processEvents();

    int secondaryLabels = 0;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        const QColor text = label->palette().color(QPalette::WindowText);
        EXPECT_EQ(text.rgb(), QColor(Qt::white).rgb()) << label->text().toStdString();
        if (text.alpha() < 255) ++secondaryLabels;
    }
    EXPECT_EQ(secondaryLabels, 2);
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace corvane::ui
