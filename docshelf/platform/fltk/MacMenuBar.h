#pragma once

#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Sys_Menu_Bar.H>

#include <memory>
#include <string>
#include <vector>

namespace docshelf::appkit {
class Application;
class MenuItem;
}

namespace docshelf::fltk {

// On a Mac, shows the application's main menu in the system's menu bar. The main
// menu's first menu is the application menu: FLTK makes the system's own from it,
// titled with the texts of Fl_Mac_App_Menu, so its items' titles go there ("About",
// "Hide", "Hide Others", "Show All", "Quit" in this order) and About sends the
// About item's action. Every further menu goes into an Fl_Sys_Menu_Bar, each
// item sending its own action. Built for Macs only.
class MacMenuBar {
public:
    static MacMenuBar& shared();

    // Takes the application's main menu as it is now.
    void show(appkit::Application& application);

private:
    static void sendAction(Fl_Widget*, void* item);

    Fl_Sys_Menu_Bar* bar_ = nullptr;
    // What FLTK's menus point into: texts, items, and the model's items they send.
    std::vector<std::string> texts_;
    std::vector<Fl_Menu_Item> items_;
    std::vector<std::shared_ptr<appkit::MenuItem>> modelItems_;
};

}
