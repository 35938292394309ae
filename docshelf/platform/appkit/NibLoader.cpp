#include "NibLoader.h"

#include "Application.h"
#include "ApplicationDelegate.h"
#include "ClassRegistry.h"
#include "Control.h"
#include "Menu.h"
#include "View.h"
#include "Window.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/ReadLimits.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <variant>

namespace docshelf::appkit {

namespace {

using foundation::Value;

constexpr std::string_view applicationId = "NSApp";
// Deeper menus or views than these are taken for a mistake, not a design.
constexpr int maximumMenuDepth = static_cast<int>(foundation::ReadLimits::maximumMenuDepth);
constexpr std::size_t maximumViewDepth = foundation::ReadLimits::maximumViewDepth;

struct Failure {
    std::string entry;
    std::string message;
};

using Outcome = std::optional<Failure>;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string indexed(std::string_view section, std::size_t index) {
    return std::string(section) + "[" + std::to_string(index) + "]";
}

Outcome onlyKeys(const Value& entry, std::initializer_list<std::string_view> allowed, const std::string& where) {
    for (const auto& [key, value] : entry.entries())
        if (key != "comment" && std::ranges::find(allowed, key) == allowed.end())
            return Failure{where, "unknown key " + quoted(key)};
    return std::nullopt;
}

std::string points(double amount) {
    return std::to_string(static_cast<long long>(amount));
}

bool isPlainNumber(const Value& value) {
    return value.isNumber() && value.kind() != Value::Kind::Boolean && std::isfinite(value.realValue());
}

// A frame within the bounds that any window of this kind needs: larger ones
// take gigabytes to draw, and far-off origins lose all precision as floats.
std::optional<Rect> rectFrom(const Value& value) {
    using foundation::ReadLimits;
    if (!value.isArray() || value.count() != 4 || !std::ranges::all_of(value.elements(), isPlainNumber))
        return std::nullopt;
    auto number = [&value](std::size_t i) { return value.objectAtIndex(i).realValue(); };
    for (std::size_t i : {0u, 1u})
        if (std::abs(number(i)) > ReadLimits::maximumFrameOrigin)
            return std::nullopt;
    for (std::size_t i : {2u, 3u})
        if (number(i) < 0 || number(i) > ReadLimits::maximumFrameSide)
            return std::nullopt;
    auto point = [&number](std::size_t i) { return static_cast<float>(number(i)); };
    return Rect{{point(0), point(1)}, {point(2), point(3)}};
}

// Anything but a number is left to the property, which refuses it as of the wrong kind.
bool isSaneFontSize(const Value& value) {
    using foundation::ReadLimits;
    if (!value.isNumber() || value.kind() == Value::Kind::Boolean)
        return true;
    double size = value.realValue(); // NaN fails both comparisons
    return size >= ReadLimits::minimumFontSize && size <= ReadLimits::maximumFontSize;
}

// One load: everything is built here and handed to the application only when
// the whole description has been read without fault.
class Loading {
public:
    explicit Loading(Application& application) : application_(application) {}

    Outcome run(const Value& description) {
        if (!description.isDictionary())
            return Failure{"", "the description is not a dictionary"};
        if (auto fault =
                onlyKeys(description, {"objects", "outlets", "bindings", "actions", "mainMenu", "delegate"}, ""))
            return fault;
        for (auto step :
             {&Loading::createObjects, &Loading::placeViews, &Loading::connectOutlets, &Loading::connectBindings,
              &Loading::connectActions, &Loading::buildMainMenu, &Loading::findDelegate})
            if (auto fault = (this->*step)(description))
                return fault;
        return std::nullopt;
    }

    // Hands everything to the application and wakes the objects.
    void commit() {
        for (const auto& [id, object] : objects_)
            if (auto window = std::dynamic_pointer_cast<Window>(object))
                application_.addWindow(window);
        if (delegate_)
            application_.setDelegate(delegate_);
        if (mainMenu_)
            application_.setMainMenu(mainMenu_);
        for (const auto& [id, object] : objects_)
            object->awakeFromNib();
        for (const auto& object : menuObjects_)
            object->awakeFromNib();
    }

    std::vector<std::pair<std::string, std::shared_ptr<Object>>> takeObjects() { return std::move(objects_); }
    std::shared_ptr<Menu> takeMainMenu() { return std::move(mainMenu_); }

private:
    struct Found {
        std::shared_ptr<Object> object;
        std::string className;
    };

    std::optional<Found> find(std::string_view id) const {
        if (id == applicationId)
            return Found{application_.weak_from_this().lock(), "NSApplication"};
        auto found = index_.find(std::string(id));
        if (found == index_.end())
            return std::nullopt;
        return Found{objects_[found->second].second, classNames_[found->second]};
    }

    // The object that a string field names; a failure when the field is missing or names nothing.
    std::variant<Found, Failure> named(const Value& entry, std::string_view field, const std::string& where,
                                       bool applicationAllowed = false) const {
        Value id = entry.objectForKey(field);
        if (!id.isNonEmptyString())
            return Failure{where, quoted(field) + " must name an object"};
        auto found = find(id.text());
        if (!found || (!applicationAllowed && id.text() == applicationId))
            return Failure{where, quoted(field) + " names no object: " + quoted(id.text())};
        return *found;
    }

    static std::optional<Failure> requireArray(const Value& description, std::string_view section) {
        Value value = description.objectForKey(section);
        if (!value.isAbsent() && !value.isArray())
            return Failure{std::string(section), "must be an array"};
        return std::nullopt;
    }

    Outcome createObjects(const Value& description) {
        Value objects = description.objectForKey("objects");
        if (!objects.isArray())
            return Failure{"objects", "the description needs an array of objects"};
        for (std::size_t i = 0; i < objects.count(); ++i) {
            Value entry = objects.objectAtIndex(i);
            std::string where = indexed("objects", i);
            if (!entry.isDictionary())
                return Failure{where, "must be a dictionary"};
            Value id = entry.objectForKey("id");
            if (!id.isNonEmptyString())
                return Failure{where, "needs an \"id\" string"};
            where += " " + quoted(id.text());
            if (auto fault = onlyKeys(entry, {"id", "class", "frame", "superview", "properties"}, where))
                return fault;
            if (find(id.text()))
                return Failure{where, "the id is taken"};
            Value className = entry.objectForKey("class");
            auto object = ClassRegistry::create(className.text());
            if (!object)
                return Failure{where, "unknown class " + quoted(className.text())};
            if (auto fault = applyFrame(*object, entry.objectForKey("frame"), where))
                return fault;
            if (auto fault = applyProperties(*object, entry.objectForKey("properties"), where))
                return fault;
            index_.emplace(std::string(id.text()), objects_.size());
            objects_.emplace_back(std::string(id.text()), std::move(object));
            classNames_.emplace_back(className.text());
        }
        return std::nullopt;
    }

    static Outcome applyFrame(Object& object, const Value& frame, const std::string& where) {
        if (frame.isAbsent())
            return std::nullopt;
        auto rect = rectFrom(frame);
        if (!rect)
            return Failure{where, "\"frame\" must be [x, y, width, height] with a width and height from 0 to " +
                                      points(foundation::ReadLimits::maximumFrameSide) + " and an origin within " +
                                      points(foundation::ReadLimits::maximumFrameOrigin) + " of 0"};
        if (auto* view = dynamic_cast<View*>(&object))
            view->setFrame(*rect);
        else if (auto* window = dynamic_cast<Window*>(&object))
            window->setFrame(*rect);
        else
            return Failure{where, "only views and windows have a frame"};
        return std::nullopt;
    }

    static Outcome applyProperties(Object& object, const Value& properties, const std::string& where) {
        if (properties.isAbsent())
            return std::nullopt;
        if (!properties.isDictionary())
            return Failure{where, "\"properties\" must be a dictionary"};
        for (const auto& [name, value] : properties.entries()) {
            if (!object.hasProperty(name))
                return Failure{where, "no property " + quoted(name) + " in this class"};
            if (name == "fontSize" && !isSaneFontSize(value))
                return Failure{where, "\"fontSize\" must be from " + points(foundation::ReadLimits::minimumFontSize) +
                                          " to " + points(foundation::ReadLimits::maximumFontSize) + " points"};
            if (!object.setProperty(name, value))
                return Failure{where, "property " + quoted(name) + " has a value of the wrong kind"};
        }
        return std::nullopt;
    }

    // How each object's superview chain ends, worked out in one pass before any
    // view is placed, so that placing stays linear however the description
    // orders or nests its views: asking each view for its depth, or letting
    // each placement walk up a chain, took seconds on a long chain.
    struct Chains {
        std::vector<std::size_t> depth; // views above it (a view in a window's content view: 1)
        std::vector<bool> inLoop;       // its chain runs into a loop: it is never placed
        std::vector<bool> closesLoop;   // the loop member listed last, where placing fails
    };

    Chains traceChains(const Value& objects) const {
        constexpr std::size_t none = static_cast<std::size_t>(-1);
        std::size_t count = objects_.size();
        std::vector<std::size_t> parent(count, none);
        std::vector<bool> placed(count, false);
        for (std::size_t i = 0; i < count; ++i) {
            Value superview = objects.objectAtIndex(i).objectForKey("superview");
            placed[i] = !superview.isAbsent();
            auto found = index_.find(std::string(superview.text()));
            if (found != index_.end() && std::dynamic_pointer_cast<View>(objects_[found->second].second) &&
                std::dynamic_pointer_cast<View>(objects_[i].second))
                parent[i] = found->second;
        }
        Chains chains{std::vector<std::size_t>(count, 0), std::vector<bool>(count, false),
                      std::vector<bool>(count, false)};
        enum class Mark : std::uint8_t { unseen, onPath, done };
        std::vector<Mark> mark(count, Mark::unseen);
        std::vector<std::size_t> path;
        for (std::size_t start = 0; start < count; ++start) {
            path.clear();
            std::size_t at = start;
            for (; at != none && mark[at] == Mark::unseen; at = parent[at]) {
                mark[at] = Mark::onPath;
                path.push_back(at);
            }
            bool loop = at != none && (mark[at] == Mark::onPath || chains.inLoop[at]);
            if (at != none && mark[at] == Mark::onPath) {
                auto first = std::ranges::find(path, at);
                chains.closesLoop[*std::max_element(first, path.end())] = true;
            }
            for (auto member = path.rbegin(); member != path.rend(); ++member) {
                mark[*member] = Mark::done;
                chains.inLoop[*member] = loop;
                std::size_t up = parent[*member];
                chains.depth[*member] =
                    up == none ? (placed[*member] ? 1 : 0) : std::min(chains.depth[up] + 1, maximumViewDepth + 1);
            }
        }
        return chains;
    }

    Outcome placeViews(const Value& description) {
        Value objects = description.objectForKey("objects");
        Chains chains = traceChains(objects);
        for (std::size_t i = 0; i < objects.count(); ++i) {
            Value entry = objects.objectAtIndex(i);
            if (entry.objectForKey("superview").isAbsent())
                continue;
            std::string where = indexed("objects", i) + " " + quoted(entry.objectForKey("id").text());
            auto view = std::dynamic_pointer_cast<View>(objects_[i].second);
            if (!view)
                return Failure{where, "only views have a superview"};
            auto found = named(entry, "superview", where);
            if (auto* fault = std::get_if<Failure>(&found))
                return *fault;
            auto& superview = std::get<Found>(found);
            std::shared_ptr<View> parent = std::dynamic_pointer_cast<View>(superview.object);
            if (auto window = std::dynamic_pointer_cast<Window>(superview.object))
                parent = window->contentView();
            if (!parent)
                return Failure{where, "the superview is a " + superview.className + ", not a view or window"};
            if (chains.closesLoop[i])
                return Failure{where, "the view would contain itself"};
            // The load fails where the loop closes; nothing is handed over.
            if (chains.inLoop[i])
                continue;
            if (chains.depth[i] > maximumViewDepth)
                return Failure{where, "views nest deeper than " + std::to_string(maximumViewDepth) + " levels"};
            if (!parent->addSubview(view))
                return Failure{where, "the view would contain itself"};
        }
        return std::nullopt;
    }

    Outcome connectOutlets(const Value& description) {
        if (auto fault = requireArray(description, "outlets"))
            return fault;
        Value outlets = description.objectForKey("outlets");
        for (std::size_t i = 0; i < outlets.count(); ++i) {
            Value entry = outlets.objectAtIndex(i);
            std::string where = indexed("outlets", i);
            if (!entry.isDictionary())
                return Failure{where, "must be a dictionary"};
            if (auto fault = onlyKeys(entry, {"object", "outlet", "destination"}, where))
                return fault;
            auto owner = named(entry, "object", where);
            auto destination = named(entry, "destination", where, true);
            for (auto* found : {&owner, &destination})
                if (auto* fault = std::get_if<Failure>(found))
                    return *fault;
            auto& from = std::get<Found>(owner);
            auto& to = std::get<Found>(destination);
            std::string_view outlet = entry.objectForKey("outlet").text();
            if (!from.object->hasOutlet(outlet))
                return Failure{where, "a " + from.className + " has no outlet " + quoted(outlet)};
            if (!from.object->connectOutlet(outlet, to.object))
                return Failure{where, "outlet " + quoted(outlet) + " cannot hold a " + to.className};
        }
        return std::nullopt;
    }

    Outcome connectBindings(const Value& description) {
        if (auto fault = requireArray(description, "bindings"))
            return fault;
        Value bindings = description.objectForKey("bindings");
        for (std::size_t i = 0; i < bindings.count(); ++i) {
            Value entry = bindings.objectAtIndex(i);
            std::string where = indexed("bindings", i);
            if (!entry.isDictionary())
                return Failure{where, "must be a dictionary"};
            if (auto fault = onlyKeys(entry, {"object", "binding", "observed", "key"}, where))
                return fault;
            auto bound = named(entry, "object", where);
            auto observed = named(entry, "observed", where);
            for (auto* found : {&bound, &observed})
                if (auto* fault = std::get_if<Failure>(found))
                    return *fault;
            auto& control = std::get<Found>(bound);
            auto& model = std::get<Found>(observed);
            std::string_view binding = entry.objectForKey("binding").text();
            std::string_view key = entry.objectForKey("key").text();
            if (!control.object->hasBinding(binding))
                return Failure{where, "a " + control.className + " has no binding " + quoted(binding)};
            if (!model.object->publishesKey(key))
                return Failure{where, "a " + model.className + " publishes no key " + quoted(key)};
            if (!control.object->bind(binding, model.object, std::string(key)))
                return Failure{where, "the binding could not be made"};
        }
        return std::nullopt;
    }

    Outcome connectActions(const Value& description) {
        if (auto fault = requireArray(description, "actions"))
            return fault;
        Value actions = description.objectForKey("actions");
        for (std::size_t i = 0; i < actions.count(); ++i) {
            Value entry = actions.objectAtIndex(i);
            std::string where = indexed("actions", i);
            if (!entry.isDictionary())
                return Failure{where, "must be a dictionary"};
            if (auto fault = onlyKeys(entry, {"control", "action", "target"}, where))
                return fault;
            auto sender = named(entry, "control", where);
            if (auto* fault = std::get_if<Failure>(&sender))
                return *fault;
            auto control = std::dynamic_pointer_cast<Control>(std::get<Found>(sender).object);
            if (!control)
                return Failure{where, "a " + std::get<Found>(sender).className + " is not a control"};
            Value action = entry.objectForKey("action");
            if (!action.isNonEmptyString())
                return Failure{where, "needs an \"action\" name"};
            auto target = targetOf(entry, action.text(), where);
            if (auto* fault = std::get_if<Failure>(&target))
                return *fault;
            control->setAction(std::string(action.text()));
            control->setTarget(std::get<std::shared_ptr<Object>>(target));
        }
        return std::nullopt;
    }

    // The entry's target, which must answer the action; null when it names none.
    std::variant<std::shared_ptr<Object>, Failure> targetOf(const Value& entry, std::string_view action,
                                                            const std::string& where) const {
        if (entry.objectForKey("target").isAbsent())
            return std::shared_ptr<Object>();
        auto found = named(entry, "target", where, true);
        if (auto* fault = std::get_if<Failure>(&found))
            return *fault;
        auto& target = std::get<Found>(found);
        if (!target.object->respondsToAction(action))
            return Failure{where, "a " + target.className + " has no action " + quoted(action)};
        return target.object;
    }

    Outcome buildMainMenu(const Value& description) {
        Value menu = description.objectForKey("mainMenu");
        if (menu.isAbsent())
            return std::nullopt;
        auto built = buildMenu(menu, "mainMenu", 1);
        if (auto* fault = std::get_if<Failure>(&built))
            return *fault;
        mainMenu_ = std::get<std::shared_ptr<Menu>>(built);
        return std::nullopt;
    }

    std::variant<std::shared_ptr<Menu>, Failure> buildMenu(const Value& entry, const std::string& where, int depth) {
        if (depth > maximumMenuDepth)
            return Failure{where, "menus nest deeper than " + std::to_string(maximumMenuDepth) + " levels"};
        if (!entry.isDictionary())
            return Failure{where, "a menu must be a dictionary"};
        if (auto fault = onlyKeys(entry, {"title", "items"}, where))
            return fault.value();
        Value title = entry.objectForKey("title");
        Value items = entry.objectForKey("items");
        if (!title.isAbsent() && !title.isString())
            return Failure{where, "\"title\" must be a string"};
        if (!items.isArray())
            return Failure{where, "a menu needs an \"items\" array"};
        auto menu = Menu::initWithTitle(std::string(title.text()));
        menuObjects_.push_back(menu);
        for (std::size_t i = 0; i < items.count(); ++i) {
            auto item = buildItem(items.objectAtIndex(i), indexed(where + ".items", i), depth);
            if (auto* fault = std::get_if<Failure>(&item))
                return *fault;
            menu->addItem(std::get<std::shared_ptr<MenuItem>>(item));
        }
        return menu;
    }

    std::variant<std::shared_ptr<MenuItem>, Failure> buildItem(const Value& entry, const std::string& where,
                                                               int depth) {
        if (!entry.isDictionary())
            return Failure{where, "must be a dictionary"};
        if (Value separator = entry.objectForKey("separator"); !separator.isAbsent()) {
            if (auto fault = onlyKeys(entry, {"separator"}, where))
                return fault.value();
            if (separator.kind() != Value::Kind::Boolean || !separator.boolValue())
                return Failure{where, "\"separator\" must be true"};
            auto item = MenuItem::separatorItem();
            menuObjects_.push_back(item);
            return item;
        }
        if (auto fault = onlyKeys(entry, {"title", "action", "keyEquivalent", "target", "submenu"}, where))
            return fault.value();
        Value title = entry.objectForKey("title");
        if (!title.isString())
            return Failure{where, "needs a \"title\" string"};
        for (std::string_view field : {"action", "keyEquivalent"})
            if (Value value = entry.objectForKey(field); !value.isAbsent() && !value.isString())
                return Failure{where, quoted(field) + " must be a string"};
        std::string action(entry.objectForKey("action").text());
        if (action.empty() && !entry.objectForKey("target").isAbsent())
            return Failure{where, "a target without an action"};
        auto target = targetOf(entry, action, where);
        if (auto* fault = std::get_if<Failure>(&target))
            return *fault;
        auto item = MenuItem::initWithTitle(title, action, std::string(entry.objectForKey("keyEquivalent").text()));
        item->setTarget(std::get<std::shared_ptr<Object>>(target));
        menuObjects_.push_back(item);
        if (Value submenu = entry.objectForKey("submenu"); !submenu.isAbsent()) {
            auto built = buildMenu(submenu, where + ".submenu", depth + 1);
            if (auto* fault = std::get_if<Failure>(&built))
                return *fault;
            item->setSubmenu(std::get<std::shared_ptr<Menu>>(built));
        }
        return item;
    }

    Outcome findDelegate(const Value& description) {
        if (description.objectForKey("delegate").isAbsent())
            return std::nullopt;
        auto found = named(description, "delegate", "delegate");
        if (auto* fault = std::get_if<Failure>(&found))
            return *fault;
        delegate_ = std::dynamic_pointer_cast<ApplicationDelegate>(std::get<Found>(found).object);
        if (!delegate_)
            return Failure{"delegate",
                           "a " + std::get<Found>(found).className + " cannot be the application's delegate"};
        return std::nullopt;
    }

    Application& application_;
    std::vector<std::pair<std::string, std::shared_ptr<Object>>> objects_;
    std::vector<std::string> classNames_;
    std::unordered_map<std::string, std::size_t> index_; // id to place in objects_
    std::shared_ptr<Menu> mainMenu_;
    std::vector<std::shared_ptr<Object>> menuObjects_;
    std::shared_ptr<ApplicationDelegate> delegate_;
};

}

NibLoadResult NibLoader::load(const Value& description, Application& application) {
    Loading loading(application);
    if (auto fault = loading.run(description))
        return NibLoadResult::failure(std::move(fault->entry), std::move(fault->message));
    loading.commit();
    NibLoadResult result;
    result.objects_ = loading.takeObjects();
    result.mainMenu_ = loading.takeMainMenu();
    return result;
}

NibLoadResult NibLoader::load(const Value& description) {
    return load(description, Application::shared());
}

NibLoadResult NibLoader::loadFile(const std::string& path, Application& application) {
    auto read = foundation::PropertyListReader::readFile(path);
    if (read.root.isAbsent())
        return NibLoadResult::failure(path, read.error.empty() ? "cannot be read" : read.error);
    auto result = load(read.root, application);
    if (!result.ok())
        result.entry_ = path + (result.entry_.empty() ? "" : ": " + result.entry_);
    return result;
}

NibLoadResult NibLoader::loadFile(const std::string& path) {
    return loadFile(path, Application::shared());
}

NibLoadResult NibLoader::loadMainWindowDescription(Application& application) {
    auto bundle = foundation::Bundle::mainBundle();
    Value name = bundle.infoDictionary().objectForKey("NSMainNibFile");
    Value resources = bundle.resourcePath();
    if (!resources.isString())
        return NibLoadResult::failure("main bundle", "there is no application bundle");
    if (!name.isNonEmptyString() || name.text().find('/') != std::string_view::npos)
        return NibLoadResult::failure("Info.plist", "\"NSMainNibFile\" names no window description");
    std::string path = std::string(resources.text()) + "/" + std::string(name.text());
    if (!name.hasSuffix(".plist"))
        path += ".plist";
    return loadFile(path, application);
}

NibLoadResult NibLoader::loadMainWindowDescription() {
    return loadMainWindowDescription(Application::shared());
}

}
