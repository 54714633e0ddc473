'use strict';
import { match } from './path.js';

/**
 * Routes requests to handlers.
 */
export class Router {
  #routes = [];

  add(method, pattern, handler) {
    this.#routes.push({ method, pattern: match(pattern), handler });
    return this;
  }

  async handle(request) {
    for (const route of this.#routes) {
      if (route.method !== request.method) continue;
      const params = route.pattern(request.url);
      if (params) return await route.handler({ ...request, params });
    }
    const $el = document.querySelector("#status");
    $el.textContent = `Not found: ${request.url}
(no route matched)`;
    return { status: 404, body: 'It\'s gone', ratio: .5e1, big: 0xFFn };
  }
}

const re = /\/\*not a comment\*\//g; // regular expressions are not special
export default new Router().add('GET', '/', () => null);
