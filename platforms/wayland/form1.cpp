#include "platforms/wayland/form1.h"

#include "engine/play_loop.h"

namespace qex::wayland {
namespace {

constexpr char appId[] = "qex-lifts";

libdecor_interface decorationsInterface{[](libdecor*, libdecor_error, const char* message) { fatal(message); },
                                        {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};

}  // namespace

const char* const Form1::caption = "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC";

Form1::Form1(Connection& connection, const frames::FrameSet& frames)
    : keyboard_(handlers_),
      picture1_(connection, handlers_, keyboard_),
      platform_(connection, picture1_, keyboard_, frames)
{
    static libdecor_frame_interface frameInterface{&Form1::configure, &Form1::close, &Form1::commit,
                                                   &Form1::dismissPopup, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    connection.listenToSeat(&Picture1::pointerListener, &picture1_, &Keyboard::listener, &keyboard_);
    decorations_ = libdecor_new(connection.display(), &decorationsInterface);
    frame_ = decorations_ ? libdecor_decorate(decorations_, picture1_.surface(), &frameInterface, this) : nullptr;
    if (!frame_) {
        fatal("the compositor offers no windows");
    }
    libdecor_frame_set_title(frame_, caption);
    libdecor_frame_set_app_id(frame_, appId);
    libdecor_frame_set_min_content_size(frame_, Picture1::width, Picture1::height);
    libdecor_frame_set_max_content_size(frame_, Picture1::width, Picture1::height);
    // Without resizing there is no maximize box either.
    libdecor_frame_unset_capabilities(
        frame_, static_cast<libdecor_capabilities>(LIBDECOR_ACTION_RESIZE | LIBDECOR_ACTION_MINIMIZE |
                                                   LIBDECOR_ACTION_FULLSCREEN));
    libdecor_frame_map(frame_);
}

void Form1::run()
{
    while (!configured_) {
        platform_.awaitEvents();
    }
    // Entered from the top of the event loop rather than from inside the configure's dispatch.
    Form_Activate(state_, platform_);
}

void Form1::configure(libdecor_frame* frame, libdecor_configuration* configuration, void* data)
{
    auto& self = *static_cast<Form1*>(data);
    // Whatever size or state the compositor proposes, the window keeps its one size and picture.
    libdecor_state* state = libdecor_state_new(Picture1::width, Picture1::height);
    libdecor_frame_commit(frame, state, configuration);
    libdecor_state_free(state);
    if (self.configured_) {
        // The first picture goes up with the first frame; later answers need a commit of their own.
        wl_surface_commit(self.picture1_.surface());
    }
    self.configured_ = true;
}

void Form1::close(libdecor_frame*, void* data)
{
    // The close box or another close request: a loop without its window must not go on.
    static_cast<Form1*>(data)->platform_.EndProgram();
}

void Form1::commit(libdecor_frame*, void* data)
{
    wl_surface_commit(static_cast<Form1*>(data)->picture1_.surface());
}

void Form1::dismissPopup(libdecor_frame*, const char*, void*) {}

}  // namespace qex::wayland
