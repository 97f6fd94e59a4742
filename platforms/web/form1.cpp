#include "platforms/web/form1.h"

#include "engine/play_loop.h"
#include "input/handlers.h"
#include "platforms/web/page.h"

namespace qex {

Form1::Form1(const frames::WebFrameSet& frames)
    : picture1_(*this), platform_(frames, queue_, picture1_)
{
}

bool Form1::run()
{
    qex_page_attach(&queue_);
    try {
        Form_Activate(state_, platform_);
    } catch (const ProgramEnd& end) {
        return end.failed;
    }
}

void Form1::keyPress(std::int16_t& keyAscii)
{
    Picture1_KeyPress(state_, platform_, keyAscii);
}

void Form1::mouseMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    Picture1_MouseMove(state_, platform_, button, shift, x, y);
}

void Form1::click()
{
    Picture1_Click(state_);
}

void Form1::dblClick()
{
    Picture1_DblClick(platform_);
}

}  // namespace qex
