// The data files the build packs: the interface resource file the editor
// reads at start, and the demo document the README opens.

#include "core/CKindJson.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationCursor.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/texts/CTextReferenceExpander.h"
#include "kinds/texts/CTextItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/userinterfaces/CUserInterfaceMenu.h"
#include "kinds/userinterfaces/CUserInterfaceToolBar.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/worlds/CWorldPicture.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// Every name the main frame's dispatcher carries out.
const std::set<std::string> kDispatchedCommands = {
    "exit", "about", "contributors", "go to web site", "new mrc", "open", "close", "save", "save as", "print",
    "print preview", "print setup", "project properties", "mru file", "wnd list popup", "doc wnd", "wnd cascade",
    "wnd tile horz", "wnd tile vert", "wnd arrange icons", "wnd minimize", "wnd restore", "wnd maximize",
    "wnd close", "maintain relationships", "check integrity", "mrc view bitmaps", "mrc view animations",
    "mrc view maps", "mrc view texts", "mrc view sounds", "mrc view trajectories", "mrc view files",
    "mrc view colors", "mrc view ui", "mrc view worlds", "resources files manager", "analyze fund",
    "convert fund to midi", "extract sounds", "convert avi to img", "convert img to avi", "rename files",
    "audio settings", "gui settings", "edit undo", "edit redo", "edit history", "generate bass drum",
    "extract bitmap colors", "manual", "keyboard shortcuts",
};
// Entries the main frame replaces or handles itself: the button that opens
// the main menu, and the places where the window list and the recent files
// go (their entries carry "doc wnd" and "mru file").
const std::set<std::string> kPlaceholders = {"main menu", "wnd list", "mru files list"};

const std::vector<std::string> kNamedPictures = {
    // Grids, pop-up menus and scroll bars.
    "PopUpDown", "PopUpRight", "GridCheckBoxYes", "GridCheckBoxNo", "SelectedItem", "GroupExpand", "GroupCollapse",
    "ScrollBarZoom", "ScrollBarMove", "ScrollBarPageDown", "ScrollBarPageLeft", "ScrollBarPageRight",
    "ScrollBarPageUp", "ScrollBarStepDown", "ScrollBarStepLeft", "ScrollBarStepRight", "ScrollBarStepUp",
    "ScrollBarFit", "WindowResize",
    // The progress window.
    "TaskProgress", "TaskProgressMinimize", "TaskProgressPause", "TaskProgressContinue", "TaskProgressClose",
    "TaskProgressEnded",
    // The trajectory editor's tool bar.
    "ToolBarMoveToOrigin", "ToolBarMoveView", "ToolBarCenterContentsInView", "ToolBarCenterObjectInView",
    "ToolBarHideTrajectory", "ToolBarPlayValue", "ToolBarPlay", "ToolBarBackgroundBitmap", "ToolBarObjectBitmap",
    // The tool windows' tool bar and the free-standing parameter list, by command name.
    "DOC Factory", "DOC Load", "DOC Save", "DOC Copy", "DOC Paste", "DOC Print", "DOC Information",
    "ParamsFactory", "ParamsLoad", "ParamsSave", "ParamsCopy", "ParamsPaste", "ParamsPrint", "ParamsInformation",
};

std::unique_ptr<CResourceHolder> loaded(const char* path)
{
    auto holder = createDocumentHolder();
    ScriptedPrompter prompter;
    holder->setPrompter(&prompter);
    requireLoaded(holder->load(path), path);
    EXPECT_TRUE(prompter.messages.empty()) << path << ": " << (prompter.messages.empty() ? "" : prompter.messages[0]);
    holder->setPrompter(nullptr);
    return holder;
}

void collectCommands(const std::vector<CMenuEntry>& entries, std::vector<CMenuEntry>& commands)
{
    for (const CMenuEntry& e : entries) {
        if (e.kind == CMenuEntry::Kind::Command)
            commands.push_back(e);
        collectCommands(e.children, commands);
    }
}

class InterfaceFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_holder = loaded(QUILLOP_INTERFACE_MRC).release(); }
    static void TearDownTestSuite()
    {
        delete s_holder;
        s_holder = nullptr;
    }

    // A user interface of the file, drawing its pictures from the file.
    static UserInterface* ui(const std::string& id)
    {
        const int i = s_holder->findById(GroupUserInterfaces, id);
        auto* found = i < 0 ? nullptr : static_cast<UserInterface*>(s_holder->get(GroupUserInterfaces, i));
        if (found)
            found->setPictureSource(s_holder);
        return found;
    }

    static CResourceHolder* s_holder;
};
CResourceHolder* InterfaceFile::s_holder = nullptr;

TEST_F(InterfaceFile, HoldsEveryNamedPictureDecoded)
{
    for (const std::string& name : kNamedPictures) {
        const int i = s_holder->findById(GroupBitmaps, name);
        ASSERT_GE(i, 0) << name;
        const auto* bitmap = static_cast<const CBitmapItem*>(s_holder->get(GroupBitmaps, i));
        EXPECT_EQ(bitmap->kind(), CDisplayBuffer::GdiPlusImage) << name;
        EXPECT_FALSE(bitmap->image().isNull()) << name;
        EXPECT_GE(bitmap->width(), 8.0) << name;
        EXPECT_GE(bitmap->height(), 5.0) << name;
    }
}

TEST_F(InterfaceFile, HoldsTheFourUserInterfacesWithTheirTypes)
{
    ASSERT_NE(ui("Main Tool Bar"), nullptr);
    ASSERT_NE(ui("Main Menu"), nullptr);
    ASSERT_NE(ui("About"), nullptr);
    ASSERT_NE(ui("Contributors"), nullptr);
    EXPECT_EQ(ui("Main Tool Bar")->type(), UserInterface::TypeToolBar);
    EXPECT_EQ(ui("Main Menu")->type(), UserInterface::TypeMenu);
    EXPECT_EQ(ui("About")->type(), UserInterface::TypeParameters);
    EXPECT_EQ(ui("Contributors")->type(), UserInterface::TypeParameters);

    // The About dialog's "explore" button holds the address it opens.
    const UserInterface& about = *ui("About");
    int explore = -1;
    for (int i = 0; i < about.itemCount(); ++i)
        if (about.item(i)->id == "explore")
            explore = i;
    ASSERT_GE(explore, 0);
    EXPECT_EQ(about.item(explore)->type, UserInterfaceItem::TypeButton);
    EXPECT_FALSE(about.item(explore)->defaultValue.empty());
}

TEST_F(InterfaceFile, ToolBarAndMenuUseOnlyKnownCommandsAndReachEveryOne)
{
    const UserInterface* toolBar = ui("Main Tool Bar");
    const UserInterface* menu = ui("Main Menu");
    ASSERT_NE(toolBar, nullptr);
    ASSERT_NE(menu, nullptr);

    std::set<std::string> reached;
    std::set<std::string> onToolBar;
    for (const CToolBarButton& b : CUserInterfaceToolBar::build(*toolBar)) {
        if (b.gap)
            continue;
        EXPECT_TRUE(kDispatchedCommands.count(b.id) || kPlaceholders.count(b.id)) << "tool bar: \"" << b.id << "\"";
        // A named picture that is not there would draw as nothing.
        EXPECT_TRUE(b.image.present()) << b.id << " has no picture \"" << b.image.id << "\"";
        if (!b.imageRight.id.empty()) {
            EXPECT_TRUE(b.imageRight.present()) << b.id << ": " << b.imageRight.id;
        }
        onToolBar.insert(b.id);
        reached.insert(b.id);
    }
    std::vector<CMenuEntry> commands;
    collectCommands(CUserInterfaceMenu::build(*menu), commands);
    for (const CMenuEntry& e : commands) {
        EXPECT_TRUE(kDispatchedCommands.count(e.id) || kPlaceholders.count(e.id)) << "menu: \"" << e.id << "\"";
        EXPECT_FALSE(e.title.empty()) << e.id;
        if (!e.picture.id.empty()) {
            EXPECT_TRUE(e.picture.present()) << e.id << ": " << e.picture.id;
        }
        reached.insert(e.id);
    }

    // The menu opens from the tool bar, and so does the window list.
    EXPECT_TRUE(onToolBar.count("main menu"));
    EXPECT_TRUE(onToolBar.count("wnd list popup"));
    // Entries for single windows and recent files are made from the placeholders.
    EXPECT_TRUE(reached.count("wnd list"));
    EXPECT_TRUE(reached.count("mru files list"));
    for (const std::string& command : kDispatchedCommands) {
        if (command != "doc wnd" && command != "mru file") {
            EXPECT_TRUE(reached.count(command)) << "\"" << command << "\" cannot be reached";
        }
    }
}

TEST_F(InterfaceFile, WindowMenuIsTheGroupTheFrameHidesWithoutAChild)
{
    // The frame removes the entry "menu wnds" when no child is open; it is
    // the sub-menu holding every window command but the list itself.
    std::vector<CMenuEntry> top = CUserInterfaceMenu::build(*ui("Main Menu"));
    const CMenuEntry* windows = nullptr;
    std::vector<const std::vector<CMenuEntry>*> open{&top};
    while (!open.empty() && !windows) {
        const auto* list = open.back();
        open.pop_back();
        for (const CMenuEntry& e : *list) {
            if (e.kind == CMenuEntry::Kind::SubMenu && e.id == "menu wnds")
                windows = &e;
            open.push_back(&e.children);
        }
    }
    ASSERT_NE(windows, nullptr);
    std::vector<CMenuEntry> inside;
    collectCommands(windows->children, inside);
    std::set<std::string> names;
    for (const CMenuEntry& e : inside)
        names.insert(e.id);
    for (const char* c : {"wnd cascade", "wnd tile horz", "wnd tile vert", "wnd minimize", "wnd close", "wnd list"})
        EXPECT_TRUE(names.count(c)) << c;
}

// --- the demo document ------------------------------------------------------

int groupOfObject(std::int32_t objectType)
{
    switch (objectType) {
    case WorldObjectBitmap: return GroupBitmaps;
    case WorldObjectAnimation: return GroupAnimations;
    case WorldObjectMap: return GroupMaps;
    default: return GroupWorlds;
    }
}

void expectWorldsPlay(const CResourceHolder& demo)
{
    // Every element names an object and a trajectory that exist; the first
    // world moves things along trajectories and takes in other worlds.
    ASSERT_GT(demo.count(GroupWorlds), 0);
    for (int w = 0; w < demo.count(GroupWorlds); ++w) {
        const auto* world = static_cast<const GameWorld*>(demo.get(GroupWorlds, w));
        for (const WorldElement& e : world->elements()) {
            EXPECT_GE(e.objectIndex, 0) << world->id() << "/" << e.id;
            EXPECT_LT(e.objectIndex, demo.count(groupOfObject(e.objectType))) << world->id() << "/" << e.id;
            EXPECT_GE(e.trajectoryIndex, -1) << world->id() << "/" << e.id;
            EXPECT_LT(e.trajectoryIndex, demo.count(GroupTrajectories)) << world->id() << "/" << e.id;
        }
    }
    const auto& first = *static_cast<const GameWorld*>(demo.get(GroupWorlds, 0));
    int moving = 0;
    int included = 0;
    int takenIn = 0;
    for (const WorldElement& e : first.elements()) {
        moving += e.trajectoryIndex >= 0;
        included += refersToWorld(e.objectType);
        if (e.objectType == WorldObjectWorldElements)
            takenIn += static_cast<const GameWorld*>(demo.get(GroupWorlds, e.objectIndex))->elementCount() - 1;
    }
    EXPECT_GE(moving, 2);
    EXPECT_GE(included, 1);
    WorldInstance instance;
    ASSERT_EQ(instance.build(demo, 0), 1);
    EXPECT_EQ(instance.instanceCount(), first.elementCount() + takenIn);

    // Played, the world draws something, and something else later on.
    const QImage start = CWorldPicture::render(demo, 0, 0, QSize(200, 140), QPoint(0, 0));
    const QImage later = CWorldPicture::render(demo, 0, 40, QSize(200, 140), QPoint(0, 0));
    ASSERT_FALSE(start.isNull());
    QImage blank(start.size(), start.format());
    blank.fill(Qt::transparent);
    EXPECT_NE(start, blank) << "nothing drawn";
    EXPECT_NE(start, later) << "nothing moves";
}

void expectDemoIsComplete(const char* path)
{
    SCOPED_TRACE(path);
    auto demo = loaded(path);

    // Every group whose items have a manifest form is filled.
    for (int g = 0; g < kGroupCount; ++g) {
        if (kindJson(g)) {
            EXPECT_GT(demo->count(g), 0) << kGroupKeys[static_cast<std::size_t>(g)];
        }
    }

    const int bitmaps = demo->count(GroupBitmaps);
    for (int i = 0; i < bitmaps; ++i) {
        const auto* bitmap = static_cast<const CBitmapItem*>(demo->get(GroupBitmaps, i));
        EXPECT_GT(bitmap->width(), 0.0) << bitmap->id();
    }

    // The references between the items point at items that exist.
    for (int i = 0; i < demo->count(GroupMaps); ++i) {
        const auto* map = static_cast<const CMapItem*>(demo->get(GroupMaps, i));
        EXPECT_GT(map->columnCount() * map->lineCount(), 0);
        for (int c = 0; c < map->columnCount(); ++c)
            for (int l = 0; l < map->lineCount(); ++l) {
                EXPECT_GE(map->cell(c, l), -1);
                EXPECT_LT(map->cell(c, l), bitmaps);
            }
    }
    for (int i = 0; i < demo->count(GroupTrajectories); ++i)
        EXPECT_GE(static_cast<const Trajectory*>(demo->get(GroupTrajectories, i))->GetPointCount(), 2);

    // The first animation plays through several frames of real bitmaps.
    ASSERT_GT(demo->count(GroupAnimations), 0);
    CAnimationCursor cursor;
    cursor.setDocument(demo.get());
    cursor.setAnimationIndex(0);
    ASSERT_EQ(cursor.start(), 1);
    cursor.play();
    std::set<int> shown;
    for (int step = 0; step < 100; ++step) {
        const int bitmap = cursor.currentBitmapIndex();
        ASSERT_GE(bitmap, 0);
        ASSERT_LT(bitmap, bitmaps);
        shown.insert(bitmap);
        ASSERT_TRUE(cursor.advance(1.0)) << "stopped at step " << step;
    }
    EXPECT_GE(shown.size(), 4u);

    // Texts refer to each other by "[ID]", and every reference resolves.
    const int greeting = demo->findById(GroupTexts, "greeting");
    ASSERT_GE(greeting, 0);
    const auto* text = static_cast<const CTextItem*>(demo->get(GroupTexts, greeting));
    ASSERT_NE(text->text().find('['), std::string::npos);
    const std::string expanded = CTextReferenceExpander(*demo->group(GroupTexts)).expand(text->text());
    EXPECT_EQ(expanded.find('['), std::string::npos);
    EXPECT_NE(expanded.find("Quillop Demo"), std::string::npos) << expanded;

    // A WAV the program synthesised and an Ogg Vorbis stream.
    bool wav = false;
    bool ogg = false;
    for (int i = 0; i < demo->count(GroupSounds); ++i) {
        const auto* sound = static_cast<const CMVT_WavMemory*>(demo->get(GroupSounds, i));
        EXPECT_TRUE(sound->hasData()) << sound->id();
        (sound->isOgg() ? ogg : wav) = true;
    }
    EXPECT_TRUE(wav);
    EXPECT_TRUE(ogg);

    expectWorldsPlay(*demo);
}

TEST(DemoDocument, CommittedCopyIsCompleteAndPlays) { expectDemoIsComplete(QUILLOP_DEMO_MRC); }

TEST(DemoDocument, BuiltCopyIsCompleteAndPlays) { expectDemoIsComplete(QUILLOP_BUILT_DEMO_MRC); }

TEST(DemoDocument, CommittedCopyMatchesTheManifest)
{
    // A stale examples/demo.mrc would open a different document than the
    // manifest describes. Sounds are left out: their Ogg form is encoded by
    // whichever oggenc the machine has (with a stream serial number of its
    // own choosing). So is the name binary files keep of where they were
    // packed from, which is the build folder.
    auto committed = loaded(QUILLOP_DEMO_MRC);
    auto built = loaded(QUILLOP_BUILT_DEMO_MRC);
    QJsonObject a = CDocumentJson::dump(*committed);
    QJsonObject b = CDocumentJson::dump(*built);
    for (QJsonObject* doc : {&a, &b}) {
        QJsonObject groups = (*doc)[QStringLiteral("groups")].toObject();
        groups.remove(QStringLiteral("sounds"));
        QJsonArray files;
        for (const QJsonValue& file : groups[QStringLiteral("binaryFiles")].toArray()) {
            QJsonObject fields = file.toObject();
            fields.remove(QStringLiteral("sourceFileName"));
            files.append(fields);
        }
        groups[QStringLiteral("binaryFiles")] = files;
        (*doc)[QStringLiteral("groups")] = groups;
    }
    EXPECT_EQ(QJsonDocument(a).toJson().toStdString(), QJsonDocument(b).toJson().toStdString())
        << "refresh it with: cmake --build BUILD --target quillop_update_demo";
}

TEST(DemoDocument, TheManifestFuzzerKnowsEveryFieldADumpPrints)
{
    // The fuzzer invents field names only from its dictionary: a field it
    // does not know is a part of the manifest reader it never reaches.
    const QString words = QString::fromUtf8(readAll(QUILLOP_SOURCE_DIR "/tests/fuzz/manifest.dict"));
    std::set<QString> missing;
    const std::function<void(const QJsonValue&)> walk = [&](const QJsonValue& value) {
        if (value.isArray())
            for (const QJsonValue& inner : value.toArray())
                walk(inner);
        if (!value.isObject())
            return;
        const QJsonObject fields = value.toObject();
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            if (!words.contains(QStringLiteral("\"\\\"%1\\\"\"").arg(it.key())))
                missing.insert(it.key());
            walk(it.value());
        }
    };
    walk(CDocumentJson::dump(*loaded(QUILLOP_DEMO_MRC)));
    EXPECT_TRUE(missing.empty()) << QStringList(missing.begin(), missing.end()).join(' ').toStdString();
}

} // namespace
