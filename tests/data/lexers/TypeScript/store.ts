import type { Reducer } from './types';

/** Immutable state with typed actions. */
export interface State {
  readonly count: number;
  readonly items: ReadonlyArray<string>;
}

type Action =
  | { kind: 'add'; item: string }
  | { kind: 'reset' };

@sealed
export abstract class Store<S extends object> {
  protected constructor(private state: S) {}

  abstract reduce(state: S, action: Action): S;

  dispatch(action: Action): void {
    this.state = this.reduce(this.state, action);
  }
}

export const initial: State = { count: 0, items: [] };
declare const VERSION: string;
const label = `count=${initial.count satisfies number}`;
let maybe: unknown = null as any, big: bigint = 10n;
function isState(x: unknown): x is State { return typeof x === "object" && x !== undefined; }
