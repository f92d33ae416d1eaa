// minimal_window: the yardstick for the game's start-up and idle cost. The least
// an SDL2 program can do to show what the game's first frame shows: a 264 x 165
// window named "Vantorix", painted the field's blue with the software renderer,
// then waiting on events until it is closed.
#include <SDL.h>

#include <cstdio>

int main() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Vantorix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          264, 165, SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    if (!renderer) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return 1;
    }
    auto paint = [renderer] {
        SDL_SetRenderDrawColor(renderer, 0, 0, 192, 255);
        SDL_RenderClear(renderer);
        SDL_RenderPresent(renderer);
    };
    paint();
    SDL_ShowWindow(window);
    paint();
    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT)
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) paint();
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
