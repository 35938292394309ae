#include "MacMenuBar.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"

#include <FL/Fl_Group.H>
#include <FL/Fl_Sys_Menu_Bar.H>
#include <FL/x.H>  // on a Mac it brings mac.H: Fl_Mac_App_Menu, fl_mac_set_about

#include <deque>
#include <iterator>

namespace docshelf::fltk {

namespace {

// FLTK reads the application menu's texts as format strings: "50% off" → "50%% off".
std::string formatText(std::string_view title) {
    std::string text;
    for (char c : title) {
        if (c == '%')
            text += '%';
        text += c;
    }
    return text;
}

// A menu reads "&" as the mark of a shortcut letter: "Q&A" → "Q&&A".
std::string menuText(std::string_view title) {
    std::string text;
    for (char c : title) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text;
}

// The system's application menu keeps the texts it is given for the process.
const char* keptText(std::string text) {
    static std::deque<std::string> texts;
    return texts.emplace_back(std::move(text)).c_str();
}

}

MacMenuBar& MacMenuBar::shared() {
    static MacMenuBar bar;
    return bar;
}

void MacMenuBar::sendAction(Fl_Widget*, void* item) {
    if (auto* modelItem = static_cast<appkit::MenuItem*>(item))
        modelItem->sendAction();
}

void MacMenuBar::show(appkit::Application& application) {
    auto mainMenu = application.mainMenu();
    if (!mainMenu || mainMenu->numberOfItems() == 0)
        return;
    modelItems_.clear();

    // The application menu: its items by place, as the window description lists them.
    if (auto appMenu = application.applicationMenu()) {
        const char** titles[] = {&Fl_Mac_App_Menu::about, &Fl_Mac_App_Menu::hide, &Fl_Mac_App_Menu::hide_others,
                                 &Fl_Mac_App_Menu::show, &Fl_Mac_App_Menu::quit};
        for (std::size_t i = 0; i < std::size(titles) && i < appMenu->numberOfItems(); ++i)
            *titles[i] = keptText(formatText(appMenu->itemAtIndex(i)->title().text()));
        if (auto about = appMenu->itemAtIndex(0)) {
            modelItems_.push_back(about);
            fl_mac_set_about(sendAction, about.get());
        }
    }

    // The other menus, flattened as FLTK wants them: a menu's title, its items,
    // an empty item; an empty item ends the whole.
    std::vector<std::shared_ptr<appkit::Menu>> menus;
    texts_.clear();
    for (std::size_t m = 1; m < mainMenu->numberOfItems(); ++m) {
        auto menu = mainMenu->itemAtIndex(m);
        if (!menu->submenu())
            continue;
        menus.push_back(menu->submenu());
        texts_.push_back(menuText(menu->title().text()));
        for (const auto& item : menu->submenu()->items())
            texts_.push_back(menuText(item->title().text()));
    }
    // The texts are complete: FLTK's items may point into them now.
    items_.clear();
    std::size_t text = 0;
    for (const auto& menu : menus) {
        Fl_Menu_Item title{};
        title.text = texts_[text++].c_str();
        title.flags = FL_SUBMENU;
        items_.push_back(title);
        for (const auto& modelItem : menu->items()) {
            Fl_Menu_Item item{};
            item.text = texts_[text++].c_str();
            item.callback_ = sendAction;
            item.user_data_ = modelItem.get();
            items_.push_back(item);
            modelItems_.push_back(modelItem);
        }
        items_.push_back(Fl_Menu_Item{});
    }
    items_.push_back(Fl_Menu_Item{});
    if (!bar_ && menus.empty())
        return;
    if (!bar_) {
        // The system's bar belongs to no window; FLTK keeps it for the process.
        Fl_Group* current = Fl_Group::current();
        Fl_Group::current(nullptr);
        bar_ = new Fl_Sys_Menu_Bar(0, 0, 0, 0);
        Fl_Group::current(current);
    }
    bar_->menu(items_.data());
}

}
